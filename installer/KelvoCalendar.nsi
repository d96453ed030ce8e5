; Kelvo日历 setup: by default a per-user install into the user's own
; %LOCALAPPDATA%\Programs, needing no administrator rights; /ALLUSERS installs
; for all users into Program Files, with administrator rights. Either adds a
; Start-menu shortcut and an entry in "Apps and features" of its scope; the
; uninstaller removes what the install and the program wrote. Built by CMake
; (target `installer`):
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.2.3 -DPROGRAM=<exe> -DICON=<ico>
;            -DPLUGIN_DIR=<folder of KelvoSetup.dll> -DOUTFILE=<setup> [-DX64]
;            [-DSIGN=<signing command>]
; Command line: /S silent, /ALLUSERS for all users, /D=<folder> (last,
; unquoted), /AUTORUN sets 开机启动 as the finish page would. An upgrade keeps
; the scope it finds installed. The uninstaller takes /S.

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
; With -DSIGN=<command> (a build configured with the maker's certificate) the
; uninstaller is signed before it is packed and the setup once it is written.
!ifdef SIGN
  !uninstfinalize '"${SIGN}" "%1"' = 0
  !finalize '"${SIGN}" "%1"' = 0
!endif
; Elevation is asked for only by a per-machine install (see .onInit).
RequestExecutionLevel user
SetCompressor /SOLID lzma
BrandingText "${PUBLISHER}"
!ifdef X64
  !define MACHINE_DIR "$PROGRAMFILES64\KelvoCalendar"
!else
  !define MACHINE_DIR "$PROGRAMFILES\KelvoCalendar"
!endif
!define USER_DIR "$LOCALAPPDATA\Programs\KelvoCalendar"
; Exit code of a per-machine install or uninstall that got no administrator rights.
!define NO_RIGHTS 3

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
; "user" or "machine": where files, shortcut and registry entries go.
Var Scope

; Both sides work in the registry view the installed program reads: the
; 64-bit one for the x64 build, the 32-bit one for the x86 build.
!macro REGISTRY_VIEW
  !ifdef X64
    SetRegView 64
  !endif
!macroend

; A per-machine scope needs the right to write the machine's registry. Without
; it, this program starts itself again through UAC ("runas") and hands on its
; exit code; a copy that was elevated and still has no rights gives up.
!macro NEED_MACHINE_RIGHTS ELEVATED_PARAMETERS
  KelvoSetup::CanWriteMachine
  Pop $1
  ${If} $1 != 1
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/ELEVATED" $1
    ${IfNot} ${Errors}
      MessageBox MB_OK|MB_ICONSTOP "为所有用户安装或卸载${PRODUCT}需要管理员权限。" /SD IDOK
      SetErrorLevel ${NO_RIGHTS}
      Quit
    ${EndIf}
    KelvoSetup::RunElevated "${ELEVATED_PARAMETERS}"
    Pop $1
    ${If} $1 == ""
      MessageBox MB_OK|MB_ICONSTOP "未获得管理员权限，${PRODUCT}没有改动。" /SD IDOK
      StrCpy $1 ${NO_RIGHTS}
    ${EndIf}
    SetErrorLevel $1
    Quit
  ${EndIf}
!macroend

!macro USE_SCOPE
  ${If} $Scope == machine
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
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
  !insertmacro REGISTRY_VIEW
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTORUN" $1
  ${IfNot} ${Errors}
    StrCpy $AutoRunOption 1
  ${EndIf}
  ; /ALLUSERS asks for all users; otherwise an upgrade keeps the scope found.
  ReadRegStr $R0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  StrCpy $Scope user
  ClearErrors
  ${GetOptions} $0 "/ALLUSERS" $1
  ${IfNot} ${Errors}
    StrCpy $Scope machine
  ${ElseIf} $R0 == ""
  ${AndIf} $R1 != ""
    StrCpy $Scope machine
  ${EndIf}
  ${If} $Scope == machine
    ; /D must stay last.
    !insertmacro NEED_MACHINE_RIGHTS "/ELEVATED /ALLUSERS $0"
  ${EndIf}
  !insertmacro USE_SCOPE
  ; The folder of the last install of this scope, unless /D named one.
  ${If} $Scope == machine
    StrCpy $R0 $R1
    StrCpy $R2 "${MACHINE_DIR}"
  ${Else}
    StrCpy $R2 "${USER_DIR}"
  ${EndIf}
  ${If} $INSTDIR == ""
    StrCpy $INSTDIR $R0
  ${EndIf}
  ${If} $INSTDIR == ""
    StrCpy $INSTDIR $R2
  ${EndIf}
FunctionEnd

; The uninstaller belongs to the scope whose "Apps and features" entry names
; its folder.
Function un.onInit
  !insertmacro REGISTRY_VIEW
  ReadRegStr $R0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  StrCpy $Scope user
  ${If} $R0 != $INSTDIR
    ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R1 == $INSTDIR
      StrCpy $Scope machine
      StrCpy $2 "/ELEVATED"
      ${If} ${Silent}
        StrCpy $2 "$2 /S"
      ${EndIf}
      !insertmacro NEED_MACHINE_RIGHTS "$2 _?=$INSTDIR"
    ${EndIf}
  ${EndIf}
  !insertmacro USE_SCOPE
FunctionEnd

; With the user's normal rights, also after a per-machine install, which
; runs elevated.
Function RunNow
  KelvoSetup::RunAsUser "$INSTDIR\${EXE}"
  Pop $0
FunctionEnd

; The same entry the program's own 开机启动 writes, so its menu shows it
; checked: the user's own, or for all users with a per-machine install.
Function StartWithWindows
  KelvoSetup::WriteRunEntry $Scope "$INSTDIR\${EXE}"
  Pop $0
FunctionEnd

Section "-program" SecProgram
  Call CloseCalendar
  SetOutPath "$INSTDIR"
  File "/oname=${EXE}" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE}"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1

  ${If} $AutoRunOption == 1
    Call StartWithWindows
  ${EndIf}
SectionEnd

Section "Uninstall"
  Call un.CloseCalendar
  ; Start-up entries go only where they name this copy of the program; one
  ; naming another copy is that copy's.
  KelvoSetup::RemoveRunEntries "$INSTDIR\${EXE}"
  Pop $0
  ; The uninstalling user's settings, and for all users those that earlier
  ; versions kept for the machine.
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  ${If} $Scope == machine
    DeleteRegKey HKLM "${SETTINGS_KEY}"
  ${EndIf}
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  Delete "${SHORTCUT}"
  ; The holiday file the program keeps for the uninstalling user. Before the
  ; program's folder goes: its removal is the last thing an uninstall does.
  SetShellVarContext current
  Delete "$LOCALAPPDATA\KelvoCalendar\holidays.txt*"
  RMDir "$LOCALAPPDATA\KelvoCalendar"
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Not /r: a folder chosen with /D may hold files that are not ours.
  RMDir "$INSTDIR"
SectionEnd
