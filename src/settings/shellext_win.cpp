// The file-type link in the Windows registry, in the user's own part of
// HKEY_CLASSES_ROOT (HKEY_CURRENT_USER\Software\Classes, which Windows shows
// in HKEY_CLASSES_ROOT over the machine's classes and which every user may
// write; a write to HKEY_CLASSES_ROOT itself goes to the machine's classes
// and needs administrator rights):
//   .bms                              = KZ Mapfile
//   KZ Mapfile                        = Kozarak Map File
//   KZ Mapfile\DefaultIcon            = <program>,0
//   KZ Mapfile\Shell\Open\Command     = "<program>" "%1"
// Only the keys' unnamed default values are written; other values under
// these keys stay as they are.
#include "shellextplatform.h"

#include <windows.h>

namespace {

const wchar_t *wide(const std::u16string &text)
{
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return reinterpret_cast<const wchar_t *>(text.c_str());
}

// The user's classes key holding path.
std::u16string classes(const std::u16string &path)
{
    return u"Software\\Classes\\" + path;
}

// Opens the class key path, creating what is missing, and writes its
// unnamed default value. The key is closed in every case.
bool setDefaultValue(const std::u16string &path, const std::u16string &value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, wide(classes(path)), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return false;
    const auto bytes = DWORD((value.size() + 1) * sizeof(char16_t));
    const bool written =
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()), bytes) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

// Deletes the class key path with all its subkeys; a missing key is fine.
bool deleteTree(const std::u16string &path)
{
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, wide(classes(path)));
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool usable(const TFileTypeLink &link)
{
    return !link.extension.empty() && !link.extDescription.empty();
}

std::u16string decimal(std::int32_t n)
{
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

} // namespace

bool RegisterFileType(const TFileTypeLink &link)
{
    if (!usable(link))
        return false;
    return setDefaultValue(link.extension, link.extDescription)
        && setDefaultValue(link.extDescription, link.fileDescription)
        && setDefaultValue(link.extDescription + u"\\DefaultIcon", link.openWith + u"," + decimal(link.iconIndex))
        && setDefaultValue(link.extDescription + u"\\Shell\\Open\\Command",
                           u"\"" + link.openWith + u"\" \"" + link.paramString + u"\"");
}

bool UnregisterFileType(const TFileTypeLink &link)
{
    if (!usable(link))
        return false;
    return deleteTree(link.extension) && deleteTree(link.extDescription);
}
