; The Windows installer: both programs with the DLLs and licences beside them, a Start menu entry, an
; entry in Apps & features and an uninstaller; /S installs and uninstalls without a question.
; Neither replaces nor removes anything while the program runs: a running copy keeps its files open,
; and a half-removed program has nothing left to remove the rest. Silent, they then end with status 2.
; Made by tools/build-windows.sh:
;   makensis -DVERSION=<x.y> -DSTAGE=<folder of the programs> -DFILES=<list of Delete lines>
;            -DICON=<app.ico> -DOUTFILE=<setup.exe> installer.nsi
; A 64-bit installer for the 64-bit programs (it also runs where Windows has no 32-bit layer).
Target amd64-unicode
!include "MUI2.nsh"
!include "x64.nsh"
!include "LogicLib.nsh"

!define APP "QZ Name Compatibility"
!define EXE "QZFreeNameCompatibility.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QZNameCompatibility"
; The running program holds this mutex: its single-instance guard, named after the lower-cased program name.
!define MUTEX "Local\QZ-qzfreenamecompatibility"
!define SYNCHRONIZE 0x00100000
!define ERROR_ACCESS_DENIED 5

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "FileDescription" "${APP} installer"
VIAddVersionKey "CompanyName" "Kelpan Softwares"
VIAddVersionKey "LegalCopyright" "Kelpan Softwares"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; No "Run" on the finish page: started from the elevated installer, the program would run as the
; administrator who approved it and keep its settings in that account, not the signed-in user's.
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!macro CLOSE_RUNNING_COPY UN
Function ${UN}CloseRunningCopy
    retry:
    System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${MUTEX}") p .r0 ?e'
    Pop $1
    ${If} $0 P<> 0
        System::Call 'kernel32::CloseHandle(p r0)'
    ${ElseIf} $1 <> ${ERROR_ACCESS_DENIED}
        Return
    ${EndIf}
    ${If} ${Silent}
        SetErrorLevel 2
        Quit
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${APP} is running. Close it, then choose Retry." IDRETRY retry
    SetErrorLevel 1
    Quit
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_COPY ""
!insertmacro CLOSE_RUNNING_COPY "un."

Function .onInit
    SetRegView 64
    SetShellVarContext all
    Call CloseRunningCopy
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
    Call un.CloseRunningCopy
FunctionEnd

Section "" Program
    ; Once more: the program may have been started while the pages were shown.
    Call CloseRunningCopy
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateDirectory "$SMPROGRAMS\${APP}"
    CreateShortcut "$SMPROGRAMS\${APP}\${APP}.lnk" "$INSTDIR\${EXE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Kelpan Softwares"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${Program} $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    Call un.CloseRunningCopy
    ; Only what the installer put there: the folder may have been chosen with other files in it.
    !include "${FILES}"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${APP}\${APP}.lnk"
    RMDir "$SMPROGRAMS\${APP}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
