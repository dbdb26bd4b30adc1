#pragma once
// The link between a file type and a program as the platform keeps it: the
// user's own part of the registry's HKEY_CLASSES_ROOT on Windows
// (shellext_win.cpp), the freedesktop MIME package, desktop entry and
// default-application list in the user's own directories elsewhere
// (shellext_unix.cpp). Free of Qt, so the Windows side compiles and is tested
// on its own.

#include <cstdint>
#include <string>

struct TFileTypeLink {
    std::u16string extension;       // with its dot: ".bms"
    std::u16string extDescription;  // the file class the extension names: "KZ Mapfile"
    std::u16string fileDescription; // the class's display name: "Kozarak Map File"
    std::u16string openWith;        // the program's full path
    std::u16string paramString;     // the argument after the program: "%1", the file
    std::int32_t iconIndex = 0;     // the icon's index inside the program file
};

// Writes the link; false when a step failed (the steps before it stay done).
// A link without extension or class name is refused: it would address the
// root of the registry.
bool RegisterFileType(const TFileTypeLink &link);

// Removes the link; what does not exist is no failure.
bool UnregisterFileType(const TFileTypeLink &link);
