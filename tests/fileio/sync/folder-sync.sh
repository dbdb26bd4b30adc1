#!/bin/sh
# A save is on the disk when it is reported done: the new content is flushed
# before it takes the map's name, and the folder is flushed after, so the
# name survives a power cut too. Seen in the system calls of a real save
# (vellumar-cli resave, the editor's save path), for a new file and for one
# that replaces a map; and in those of a recovery copy written as the editor
# writes it (vellumar-test-writer). folder-sync.sh VELLUMAR-CLI SAMPLES WRITER
set -u
CLI=$1
SAMPLES=$2
WRITER=$3
command -v strace >/dev/null || { echo "needs strace: run make test" >&2; exit 1; }
# A machine that lets no process trace another cannot show it: the test is
# reported as skipped there, not passed.
strace -o /dev/null true 2>/dev/null || { echo "tracing is not permitted on this machine" >&2; exit 77; }
# In the calls traced (the file "calls"): a flush of the content, the call
# that gives it its name (a name ending in the pattern NAME), the folder DIR
# opened, and that folder's flush. flushedInOrder DIR NAME
flushedInOrder() {
    awk -v dir="$1" -v name="$2" '
        /fsync\(|fdatasync\(/ && / = 0$/ { if (!named) flushed = 1; else if ($0 ~ "\\(" folderFd "\\)") synced = 1 }
        /(rename|renameat2?|linkat)\(/ && $0 ~ name "\"" && / = 0$/ && flushed { named = 1 }
        named && /openat\(/ && $0 ~ "\"" dir "\"" && /O_DIRECTORY/ { folderFd = $NF }
        END { exit !(flushed && named && synced) }' calls
}
fail() {
    echo "FAIL ($1): no flush of the content, then the name, then the folder:" >&2
    tail -n 8 calls >&2
    exit 1
}
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
cp "$SAMPLES/kzbase/vlmrtest.bms" "$T/in.bms"
cd "$T" || exit 1
for case in new replacing; do
    [ "$case" = new ] && rm -f out.bms
    strace -f -e trace=rename,renameat,renameat2,linkat,openat,fsync,fdatasync -o calls \
        "$CLI" resave in.bms -o out.bms --trailer "$SAMPLES/kzmap.dat" 2>/dev/null \
        || { echo "FAIL ($case): the save failed" >&2; exit 1; }
    flushedInOrder "$T" 'out[.]bms' || fail "$case"
done
# The recovery copy, named unsaved-....state in the user's recovery folder.
XDG_DATA_HOME="$T/data" strace -f -e trace=rename,renameat,renameat2,linkat,openat,fsync,fdatasync -o calls \
    "$WRITER" vellumar recovery >/dev/null 2>&1 || { echo "FAIL (recovery copy): not written" >&2; exit 1; }
flushedInOrder "$T/data/vellumar/recovery" '[.]state' || fail "recovery copy"
echo "saves and recovery copies flush the content before the name and the folder after it"
