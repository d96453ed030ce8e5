; Kelvo日历 setup: a per-machine install into Program Files with a Start-menu
; shortcut and an entry in "Apps and features"; the uninstaller removes what
; the install and the program wrote. Built by CMake (target `installer`):
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.2.3 -DPROGRAM=<exe> -DICON=<ico>
;            -DPLUGIN_DIR=<folder of KelvoSetup.dll> -DOUTFILE=<setup> [-DX64]
; Command line: /S silent, /D=<folder> (last, unquoted), /AUTORUN sets
; 开机启动 as the finish page would. The uninstaller takes /S.

!ifdef X64
  Target amd64-unicode
  !addplugindir /amd64-unicode "${PLUGIN_DIR}"
!else
  Unicode true
  !addplugindir /x86-unicode "${PLUGIN_DIR}"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define PRODUCT "Kelvo日历"
!define PUBLISHER "Kelvo软件工作室"
!define EXE "KelvoCalendar.exe"
!define UNINSTALLER "uninst.exe"
!define SHORTCUT "$SMPROGRAMS\Kelvo日历.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KelvoCalendar"
!define SETTINGS_KEY "SOFTWARE\KelvoCalendar"
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "KelvoCalendar"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PUBLISHER}"
!ifdef X64
  InstallDir "$PROGRAMFILES64\KelvoCalendar"
!else
  InstallDir "$PROGRAMFILES\KelvoCalendar"
!endif
; An upgrade goes where the last install went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "立即运行"
!define MUI_FINISHPAGE_RUN_FUNCTION RunNow
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "开机启动"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION StartWithWindows
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "© ${PUBLISHER}"

Var AutoRunOption

; Both sides work in the registry view the installed program reads: the
; 64-bit one for the x64 build, the 32-bit one for the x86 build.
!macro SETUP_CONTEXT
  SetShellVarContext all
  !ifdef X64
    SetRegView 64
  !endif
!macroend

; A running calendar would keep its file in use: it gets its own exit
; command, and the user is asked only when it is still running 5 s later.
!macro CLOSE_CALENDAR_FUNCTION un
  Function ${un}CloseCalendar
    retry:
    KelvoSetup::CloseCalendar
    Pop $0
    ${If} $0 != 1
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${PRODUCT} 仍在运行，无法继续。$\r$\n请从托盘菜单选择“退出程序”，然后点击“重试”。" \
        /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Quit
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro CLOSE_CALENDAR_FUNCTION ""
!insertmacro CLOSE_CALENDAR_FUNCTION "un."

Function .onInit
  !insertmacro SETUP_CONTEXT
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTORUN" $1
  ${IfNot} ${Errors}
    StrCpy $AutoRunOption 1
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro SETUP_CONTEXT
FunctionEnd

Function RunNow
  Exec '"$INSTDIR\${EXE}"'
FunctionEnd

; The same entry the program's own 开机启动 writes, so its menu shows it checked.
Function StartWithWindows
  KelvoSetup::WriteRunEntry "$INSTDIR\${EXE}"
  Pop $0
FunctionEnd

Section "-program" SecProgram
  Call CloseCalendar
  SetOutPath "$INSTDIR"
  File "/oname=${EXE}" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ${If} $AutoRunOption == 1
    Call StartWithWindows
  ${EndIf}
SectionEnd

Section "Uninstall"
  Call un.CloseCalendar
  ; The start-up entry goes only when it names this copy of the program; one
  ; naming another copy is that copy's.
  KelvoSetup::RunEntryNames "$INSTDIR\${EXE}"
  Pop $0
  ${If} $0 == 1
    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "${SHORTCUT}"
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Not /r: a folder chosen with /D may hold files that are not ours.
  RMDir "$INSTDIR"
SectionEnd
