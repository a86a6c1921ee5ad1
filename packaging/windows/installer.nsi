; The Windows installer: both programs with the DLLs and licences beside them, a Start menu entry, an
; entry in Apps & features and an uninstaller; /S installs and uninstalls without a question.
; Neither replaces nor removes anything while the program runs: a running copy keeps its files open,
; and a half-removed program has nothing left to remove the rest. Silent, they then end with status 2.
; The registered uninstall commands run the uninstaller where it is installed, so that its status is the
; caller's; it leaves its own file to a helper (un.onUninstSuccess).
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
; Drawn by Windows at the screen's scale rather than stretched as a bitmap, and no builder's name on the pages.
ManifestDPIAware true
BrandingText "${APP} ${VERSION}"
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

; A copy installed before, wherever it is, goes first with its own uninstaller: one Apps & features entry
; then always matches one copy, and no file the new version no longer ships stays behind.
Function RemoveEarlierCopy
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == ""
    ${OrIfNot} ${FileExists} "$0\Uninstall.exe"
        Return
    ${EndIf}
    DetailPrint "Removing the copy in $0"
    ; Run from a copy here, the uninstaller's file and folder go with the rest, and its own deletion of
    ; the file it ran from (un.onUninstSuccess) cannot reach a file of the new install in that folder.
    InitPluginsDir
    ClearErrors
    CopyFiles /SILENT "$0\Uninstall.exe" "$PLUGINSDIR\Uninstall.exe"
    ExecWait '"$PLUGINSDIR\Uninstall.exe" /S _?=$0' $1
    ${If} ${Errors}
    ${OrIf} $1 <> 0
        MessageBox MB_ICONSTOP "The copy of ${APP} in $0 could not be removed." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
FunctionEnd

Section "" Program
    ; Once more: the program may have been started while the pages were shown.
    Call CloseRunningCopy
    Call RemoveEarlierCopy
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
    ; Without "_?=" (read by NSIS only unquoted and last) the uninstaller would hand itself to a copy in
    ; the temporary folder and end at once with status 0, before that copy had decided anything.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" _?=$INSTDIR'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S _?=$INSTDIR'
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

; Windows deletes no running program's file, this one's included: a cmd started here deletes it, and then
; its folder if that is empty (the installation folder, or NSIS's temporary folder when it was started
; without "_?="), once this process has ended. It learns that from the end of its input, a pipe whose
; other end only this process holds, and tries again twice, as the file may stay locked a moment longer.
Function un.onUninstSuccess
    System::Call 'kernel32::CreatePipe(*p .r1, *p .r2, p 0, i 0)'
    System::Call 'kernel32::SetHandleInformation(p r1, i 1, i 1)' ; HANDLE_FLAG_INHERIT
    System::Alloc 104 ; STARTUPINFOW: cb, dwFlags at 60 (STARTF_USESTDHANDLES), hStdInput at 80
    Pop $3
    System::Call '*$3(i 104)'
    IntPtrOp $4 $3 + 60
    System::Call '*$4(i 0x100)'
    IntPtrOp $4 $3 + 80
    System::Call '*$4(p r1)'
    System::Alloc 24 ; PROCESS_INFORMATION
    Pop $4
    StrCpy $0 'del /q "$EXEPATH" 2>nul & rmdir "$EXEDIR" 2>nul'
    StrCpy $0 '"$SYSDIR\cmd.exe" /d /q /c "set /p x= & $0 & ping -n 2 127.0.0.1 >nul & $0 & ping -n 3 127.0.0.1 >nul & $0"'
    ; No console window (CREATE_NO_WINDOW), and the temporary folder to work in: a folder that is a
    ; process's working folder cannot be removed.
    System::Call 'kernel32::CreateProcessW(p 0, w r0, p 0, p 0, i 1, i 0x08000000, p 0, w "$TEMP", p r3, p r4)'
    System::Call '*$4(p .r5, p .r6)'
    System::Call 'kernel32::CloseHandle(p r5)'
    System::Call 'kernel32::CloseHandle(p r6)'
    System::Call 'kernel32::CloseHandle(p r1)'
    System::Free $3
    System::Free $4
FunctionEnd
