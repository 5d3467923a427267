; Tarnwell's setup program and uninstaller.
;
; makensis -DVERSION=2.20 -DBINDIR=<built programs> -DSTAGEDIR=<read-me and
;          plug-ins with Windows line ends> -DOUTFILE=<setup program>
;          [-DTARGET_AMD64] tarnwell.nsi
;
; The setup program is an ANSI one, which runs on Windows 95 and later.
; TARGET_AMD64 makes a 64-bit one for a 64-bit build of the programs.

!macro RequireDefine name
  !ifndef ${name}
    !error "${name} must be defined"
  !endif
!macroend
!insertmacro RequireDefine VERSION
!insertmacro RequireDefine BINDIR
!insertmacro RequireDefine STAGEDIR
!insertmacro RequireDefine OUTFILE

!ifdef TARGET_AMD64
  Target amd64-unicode
!else
  Target x86-ansi
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "TextFunc.nsh"
!include "WinMessages.nsh"

!define PRODUCT "Tarnwell"
!define PUBLISHER "Tarnwell"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwell"
!define SETTINGS_KEY "Software\Tarnwell"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUNONCE_KEY "Software\Microsoft\Windows\CurrentVersion\RunOnce"
; What the running program is known by: its single-instance mutex, and its
; main window's class with a caption that starts "Tarnwell v".
!define INSTANCE_MUTEX "Tarnwell"
!define MAIN_WINDOW_CLASS "TMainForm"
!define MAIN_CAPTION_START "Tarnwell v"
!define SYNCHRONIZE 0x00100000
!define ENDSESSION_CLOSEAPP 1

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Tarnwell"
; An upgrade goes where the last installation went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${STAGEDIR}/tarnwell.ico"
!define MUI_UNICON "${STAGEDIR}/tarnwell.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tarnwell.exe"
!define MUI_FINISHPAGE_RUN_TEXT "&Start Tarnwell now"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\ReadMe.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The shipped definitions, by name: the uninstaller removes these and leaves
; any the user wrote.
!macro ForEachShippedPlugin action
  !insertmacro ${action} "Example definition.ini"
  !insertmacro ${action} "Firefox caches.ini"
  !insertmacro ${action} "Google Chrome.ini"
  !insertmacro ${action} "Microsoft Edge.ini"
!macroend
!macro InstallPlugin name
  File "${STAGEDIR}/plugins/${name}"
!macroend
!macro RemovePlugin name
  Delete "$INSTDIR\plugins\${name}"
!macroend

; Ends a running Tarnwell the way Windows does at log-off: asked whether the
; session may end, it saves its settings and undoes what it set up, and the
; close that follows then ends it. Waits until its mutex is gone, so that no
; file is still in use; asks the user to end it by hand if it does not go.
!macro CloseRunningTarnwell un
Function ${un}CloseRunningTarnwell
  Push $0
  Push $1
  Push $2
  retry:
  StrCpy $0 0
  find:
    FindWindow $0 "${MAIN_WINDOW_CLASS}" "" 0 $0
    ${If} $0 <> 0
      System::Call 'user32::GetWindowText(p r0, t .r1, i 64)'
      StrCpy $2 $1 10
      ${If} $2 S== "${MAIN_CAPTION_START}"
        DetailPrint "Ending the running ${PRODUCT}..."
        SendMessage $0 ${WM_QUERYENDSESSION} 0 ${ENDSESSION_CLOSEAPP} /TIMEOUT=30000
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=30000
      ${EndIf}
      Goto find
    ${EndIf}
  ; The mutex lasts as long as the process.
  StrCpy $2 0
  wait:
    System::Call 'kernel32::OpenMutex(i ${SYNCHRONIZE}, i 0, t "${INSTANCE_MUTEX}") p .r1'
    ${If} $1 P<> 0
      System::Call 'kernel32::CloseHandle(p r1)'
      IntOp $2 $2 + 1
      ${If} $2 < 150
        Sleep 100
        Goto wait
      ${EndIf}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${PRODUCT} is still running. End it with $\"Shutdown Tarnwell$\" in its tray icon's menu, then press Retry." \
        /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Abort "${PRODUCT} is still running."
    ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CloseRunningTarnwell ""
!insertmacro CloseRunningTarnwell "un."

Function .onInit
  SetShellVarContext all
FunctionEnd

Section "Tarnwell" SecProgram
  SectionIn RO
  Call CloseRunningTarnwell

  SetOutPath "$INSTDIR"
  File "${BINDIR}/Tarnwell.exe"
  File /nonfatal "${BINDIR}/TWSvc.exe"
  File /nonfatal "${BINDIR}/Vintrel.exe"
  File /nonfatal "${BINDIR}/snuffet.dll"
  File "${STAGEDIR}/ReadMe.txt"
  SetOutPath "$INSTDIR\plugins"
  !insertmacro ForEachShippedPlugin InstallPlugin
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\Tarnwell"
  CreateShortCut "$SMPROGRAMS\Tarnwell\Tarnwell.lnk" "$INSTDIR\Tarnwell.exe"
  CreateShortCut "$SMPROGRAMS\Tarnwell\Read Me.lnk" "$INSTDIR\ReadMe.txt"
  CreateShortCut "$SMPROGRAMS\Tarnwell\Uninstall Tarnwell.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tarnwell.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; Takes Tarnwell's "NUL=" lines out of Wininit.ini (Windows 95 and 98): the
; index files it armed for deletion at the next boot, listed in index.lst.
; Other lines stay as they are.
Function un.RemoveWininitLines
  IfFileExists "$WINDIR\Wininit.ini" 0 done
  IfFileExists "$INSTDIR\index.lst" 0 done
  ClearErrors
  FileOpen $0 "$INSTDIR\index.lst" r
  IfErrors done
  FileRead $0 $1
  FileRead $0 $2
  FileRead $0 $3
  FileClose $0
  ${un.TrimNewLines} $1 $1
  ${un.TrimNewLines} $2 $2
  ${un.TrimNewLines} $3 $3
  ClearErrors
  FileOpen $4 "$WINDIR\Wininit.ini" r
  IfErrors done
  GetTempFileName $5 "$WINDIR"
  FileOpen $6 $5 w
  next:
    ClearErrors
    FileRead $4 $7
    IfErrors copied
    ${un.TrimNewLines} $7 $8
    ; StrCmp compares without regard to case, as Tarnwell does.
    ${If} $1 != ""
    ${AndIf} $8 == "NUL=$1"
      Goto next
    ${EndIf}
    ${If} $2 != ""
    ${AndIf} $8 == "NUL=$2"
      Goto next
    ${EndIf}
    ${If} $3 != ""
    ${AndIf} $8 == "NUL=$3"
      Goto next
    ${EndIf}
    FileWrite $6 $7
    Goto next
  copied:
  FileClose $4
  FileClose $6
  CopyFiles /SILENT "$5" "$WINDIR\Wininit.ini"
  Delete "$5"
  done:
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningTarnwell
  ; The program's own clean-up: it removes its background service.
  IfFileExists "$INSTDIR\Tarnwell.exe" 0 +2
    ExecWait '"$INSTDIR\Tarnwell.exe" /uninstall'
  IfFileExists "$INSTDIR\snuffet.dll" 0 +2
    UnRegDLL "$INSTDIR\snuffet.dll"
  Call un.RemoveWininitLines

  DeleteRegValue HKLM "${RUN_KEY}" "Tarnwell"
  DeleteRegValue HKLM "${RUNONCE_KEY}" "TarnwellIndex"
  DeleteRegKey HKLM "${SETTINGS_KEY}"

  Delete "$INSTDIR\Tarnwell.exe"
  Delete "$INSTDIR\TWSvc.exe"
  Delete "$INSTDIR\Vintrel.exe"
  Delete "$INSTDIR\snuffet.dll"
  Delete "$INSTDIR\ReadMe.txt"
  Delete "$INSTDIR\index.lst"
  !insertmacro ForEachShippedPlugin RemovePlugin
  Delete "$INSTDIR\Uninstall.exe"

  ; The user's own data: kept unless the user says otherwise, and always
  ; kept by a silent uninstall.
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
    "Remove your Tarnwell settings and popup lists (settings.ini, allow.lst, block.lst) as well?" \
    /SD IDNO IDNO keep
    ; With what a write that was cut short may have left beside them.
    Delete "$INSTDIR\settings.ini*"
    Delete "$INSTDIR\allow.lst*"
    Delete "$INSTDIR\block.lst*"
  keep:
  RMDir "$INSTDIR\plugins"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Tarnwell\Tarnwell.lnk"
  Delete "$SMPROGRAMS\Tarnwell\Read Me.lnk"
  Delete "$SMPROGRAMS\Tarnwell\Uninstall Tarnwell.lnk"
  RMDir "$SMPROGRAMS\Tarnwell"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
