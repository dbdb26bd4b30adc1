// Links .bms files to this very program in the Windows registry, or removes
// the link, as the Setup dialog's two buttons do; shellext-registry.sh then
// reads the registry with `reg query` in the same Wine prefix.
//   shellext_wine.exe register | unregister
#include "settings/shellextplatform.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    wchar_t path[MAX_PATH + 1] = {};
    if (GetModuleFileNameW(nullptr, path, MAX_PATH) == 0)
        return 3;
    TFileTypeLink link;
    link.extension = u".bms";
    link.extDescription = u"KZ Mapfile";
    link.fileDescription = u"Kozarak Map File";
    link.openWith = reinterpret_cast<const char16_t *>(path);
    link.paramString = u"%1";
    link.iconIndex = 0;
    bool ok = false;
    if (std::strcmp(argv[1], "register") == 0)
        ok = RegisterFileType(link);
    else if (std::strcmp(argv[1], "unregister") == 0)
        ok = UnregisterFileType(link);
    else
        return 2;
    std::printf("%s: %s\n", argv[1], ok ? "true" : "false");
    return ok ? 0 : 1;
}
