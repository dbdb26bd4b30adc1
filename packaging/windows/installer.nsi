; The Windows installer of Vellumar, made by scripts/windows/package.sh with
; makensis, which defines VERSION, VERSION4, OUTFILE, LISTS (the file lists
; install.nsh and uninstall.nsh), ICON, LICENSE_FILE and SIZE_KB.
;
; For the user who runs it, without administrator rights: the program in
; %LOCALAPPDATA%\Programs\Vellumar, a Start menu entry, the .bms association
; under HKCU\Software\Classes and an entry in Add/Remove Programs. Run with
; administrator rights and /AllUsers it installs for every user of the
; computer: Program Files, the common Start menu, HKLM\Software\Classes.
;
; The layout: bin\ (the programs, their DLLs, plugins and fonts) beside
; share\vellumar\ (the bundled item.ini and kzmap.dat): that pair is what
; makes the program an installed copy, which keeps its settings in the
; user's folders and not beside itself. The uninstaller removes exactly the
; files and keys the installer wrote; an association another program has
; taken since stays as it is.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
ManifestSupportedOS Win10

!define APP "Vellumar"
!define EXE "$INSTDIR\bin\vellumar.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellumar"
; The association's keys and texts, as the editor's Setup dialog writes them.
!define EXTENSION ".bms"
!define FILE_CLASS "KZ Mapfile"
!define FILE_CLASS_NAME "Kozarak Map File"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APP} ${VERSION}"

!define MULTIUSER_EXECUTIONLEVEL Standard
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP}"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_MUI
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start Vellumar"
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION4}"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${APP} ${VERSION} Setup"
VIAddVersionKey "CompanyName" "The Vellumar developers"
VIAddVersionKey "LegalCopyright" "GNU General Public License, version 3 or later"

Var OpenCommand

Function .onInit
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Vellumar"
    ; The folders above the install folder that this install makes (such as
    ; %LOCALAPPDATA%\Programs on a fresh profile), deepest first, kept as
    ; CreatedFolder1, 2, ... so the uninstaller takes them away again when it
    ; leaves them empty.
    StrCpy $0 "$INSTDIR"
    StrCpy $1 0
    ${Do}
        ${GetParent} "$0" $0
        ${If} $0 == ""
        ${OrIf} ${FileExists} "$0\*.*"
            ${Break}
        ${EndIf}
        IntOp $1 $1 + 1
        WriteRegStr SHCTX "${UNINSTALL_KEY}" "CreatedFolder$1" "$0"
    ${Loop}

    !include "${LISTS}/install.nsh"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortCut "$SMPROGRAMS\${APP}.lnk" "${EXE}" "" "${EXE}" 0

    StrCpy $OpenCommand '"${EXE}" "%1"'
    WriteRegStr SHCTX "Software\Classes\${EXTENSION}" "" "${FILE_CLASS}"
    WriteRegStr SHCTX "Software\Classes\${FILE_CLASS}" "" "${FILE_CLASS_NAME}"
    WriteRegStr SHCTX "Software\Classes\${FILE_CLASS}\DefaultIcon" "" "${EXE},0"
    WriteRegStr SHCTX "Software\Classes\${FILE_CLASS}\Shell\Open\Command" "" $OpenCommand
    ; SHCNE_ASSOCCHANGED: Explorer shows the new icon at once.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    ${If} $MultiUser.InstallMode == "AllUsers"
        StrCpy $0 "/AllUsers"
    ${Else}
        StrCpy $0 "/CurrentUser"
    ${EndIf}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Vellumar developers"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "${EXE},0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" $0'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" $0 /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
    !include "${LISTS}/uninstall.nsh"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    StrCpy $1 1
    ${Do}
        ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "CreatedFolder$1"
        ${If} $0 == ""
            ${Break}
        ${EndIf}
        RMDir "$0"
        IntOp $1 $1 + 1
    ${Loop}
    Delete "$SMPROGRAMS\${APP}.lnk"

    ; The association goes only while it is still this copy's: another
    ; program (or another copy of Vellumar) that has taken .bms or the file
    ; class since keeps it.
    ReadRegStr $0 SHCTX "Software\Classes\${FILE_CLASS}\Shell\Open\Command" ""
    ${If} $0 == '"${EXE}" "%1"'
        DeleteRegKey SHCTX "Software\Classes\${FILE_CLASS}"
        ReadRegStr $1 SHCTX "Software\Classes\${EXTENSION}" ""
        ${If} $1 == "${FILE_CLASS}"
            DeleteRegValue SHCTX "Software\Classes\${EXTENSION}" ""
            DeleteRegKey /IfEmpty SHCTX "Software\Classes\${EXTENSION}"
        ${EndIf}
        System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    ${EndIf}

    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
