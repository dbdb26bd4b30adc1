#!/bin/sh
# Runs a test program on a virtual X server of its own, bare or with a window
# manager: run-under-x.sh none|openbox PROGRAM [ARGS...]. Stacking, which the
# offscreen platform does not keep, is then the X server's and the manager's,
# and so are the windows' frames. VELLUMAR_XVFB_SCREEN sets the screen
# (1400x1000x24 unless set).
wm="$1"
shift
for tool in xvfb-run $([ "$wm" = openbox ] && echo openbox); do
    command -v "$tool" >/dev/null || { echo "needs $tool: run make test" >&2; exit 1; }
done
exec xvfb-run -a -s "-screen 0 ${VELLUMAR_XVFB_SCREEN:-1400x1000x24}" sh -c '
    wm="$1"; shift
    if [ "$wm" = openbox ]; then
        openbox >/dev/null 2>&1 &
        manager=$!
        sleep 1
    fi
    QT_QPA_PLATFORM=xcb "$@"
    status=$?
    [ -n "$manager" ] && kill "$manager"
    exit $status
' sh "$wm" "$@"
