; The Windows installer of one build of Tessafold. scripts/make_installer.py
; stages the files and runs makensis with:
;   -DVERSION=1.2.3  -DBUILD=win32|win64  -DSTAGE=<tessafold.exe, README.txt>
;   -DICON=<tessafold.ico>  -DOUTFILE=<the setup .exe>
;
; By default it installs for the current user, without administrator rights,
; into %LOCALAPPDATA%\Programs\Tessafold. Started elevated with /ALLUSERS it
; installs for every user into Program Files. /S installs silently, /D=<dir>
; (last on the command line) picks another folder. An earlier install of the
; same scope, of either architecture, is upgraded or replaced (scope.nsh).
; Nothing is changed while a Tessafold runs. The uninstaller takes /S too and
; asks for elevation itself when it removes a machine's install.
; With -DSIGN=<command>, the command signs the uninstaller and the installer
; (scripts/sign_file.py).

Unicode true
!if "${BUILD}" == "win64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif
SetCompressor /SOLID lzma
; The per-user install needs no rights; /ALLUSERS needs an elevated start.
RequestExecutionLevel user
ManifestDPIAware true
ShowInstDetails nevershow
ShowUninstDetails nevershow

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include x64.nsh
!include scope.nsh

!ifdef SIGN
  !finalize '${SIGN} "%1"' = 0
  !uninstfinalize '${SIGN} "%1"' = 0
!endif

!define PRODUCT "Tessafold"
!define PUBLISHER "Tessafold"
; One entry per scope: HKCU for a user's install, HKLM for a machine's. Both
; architectures use the 64-bit registry view on a 64-bit Windows, so they
; find each other's entry.
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessafold"
!define SHORTCUT "$SMPROGRAMS\Tessafold.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

; No copyright line is published with the program.
!pragma warning disable 9100
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\tessafold.exe"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishShow
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; NSIS picks the language of the system (Traditional Chinese counts as
; Chinese) and falls back to the first one inserted, so English goes first.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString WelcomeText ${LANG_ENGLISH} "This installs ${PRODUCT} ${VERSION}, which scrambles a file in place and unscrambles it again.$\r$\n$\r$\nWhat it does not do: it does not encrypt. Every key and repeat count comes down to one of 256 byte shifts, so anyone can undo a scrambled file by trying them all. The window's note says a second password $\"可提升防御力度$\" (raises the protection); it does not. The program keeps a file from being opened by chance, not from someone who tries. For secrets use real encryption: an AES archive, or disk encryption.$\r$\n$\r$\nClick Next to continue."
LangString WelcomeText ${LANG_SIMPCHINESE} "将安装 ${PRODUCT} ${VERSION}：它对文件原地打乱和还原。$\r$\n$\r$\n它做不到的事：它不是真正的加密。任何加密密码和二次加密次数最终都等于 256 种字节平移之一，任何人把它们逐一试一遍就能还原文件。窗口里说第二个密码$\"可提升防御力度$\"，其实并不能。本程序只能防止文件被无意中打开，防不住有意破解的人。需要保密的内容请使用真正的加密：AES 加密的压缩包，或磁盘加密。$\r$\n$\r$\n点击$\"下一步$\"继续。"
LangString NeedsAdmin ${LANG_ENGLISH} "An install for all users (/ALLUSERS) needs administrator rights: start the installer as administrator."
LangString NeedsAdmin ${LANG_SIMPCHINESE} "为所有用户安装 (/ALLUSERS) 需要管理员权限：请以管理员身份运行安装程序。"
LangString UnNeedsAdmin ${LANG_ENGLISH} "${PRODUCT} was installed for all users: removing it needs administrator rights."
LangString UnNeedsAdmin ${LANG_SIMPCHINESE} "${PRODUCT} 是为所有用户安装的：卸载需要管理员权限。"
LangString IsRunning ${LANG_ENGLISH} "${PRODUCT} is running. Close every ${PRODUCT} window, then click Retry."
LangString IsRunning ${LANG_SIMPCHINESE} "${PRODUCT} 正在运行。请关闭所有 ${PRODUCT} 窗口，然后点击$\"重试$\"。"

Var AllUsers
Var Earlier      ; the folder of this scope's earlier install, if any
Var EarlierView32 ; 1: that install's entry is in the 32-bit view (older installers)

; The functions both the installer and the uninstaller call (NSIS wants the
; uninstaller's named un.).
!macro SharedFunctions UN
  ; Pushes 1 when the process is elevated (on Windows before Vista: when the
  ; user is an administrator), else 0.
  Function ${UN}IsElevated
    System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r0'
    ${If} $0 <> 0
      System::Call 'advapi32::GetTokenInformation(p r1, i 20, *i .r2, i 4, *i .r3) i .r0'
      System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
    ${If} $0 = 0
      UserInfo::GetAccountType
      Pop $2
      ${If} $2 == "Admin"
        StrCpy $2 1
      ${EndIf}
    ${EndIf}
    ${If} $2 = 0
      Push 0
    ${Else}
      Push 1
    ${EndIf}
  FunctionEnd

  ; Pushes 1 while a Tessafold runs: its marks (a mutex this user cannot open
  ; is another user's) or its window.
  Function ${UN}ProgramRunning
    StrCpy $5 0
    ${ForEach} $3 0 1 + 1
      ${If} $3 = 0
        StrCpy $4 "Local\Tessafold.Running"
      ${Else}
        StrCpy $4 "Global\Tessafold.Running"
      ${EndIf}
      System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w r4) p .r1 ?e'
      Pop $2
      ${If} $1 P<> 0
        System::Call 'kernel32::CloseHandle(p r1)'
        StrCpy $5 1
      ${ElseIf} $2 = 5 ; ERROR_ACCESS_DENIED
        StrCpy $5 1
      ${EndIf}
    ${Next}
    System::Call 'user32::FindWindowW(p 0, w "Tessafoldv1.1") p .r1'
    ${If} $1 P<> 0
      StrCpy $5 1
    ${EndIf}
    Push $5
  FunctionEnd

  ; Before anything changes: asks the user to close the program and retry;
  ; silently, or on Cancel, ends with EXIT_PROGRAM_RUNNING.
  Function ${UN}WaitUntilNotRunning
    ${Do}
      Call ${UN}ProgramRunning
      Pop $0
      ${If} $0 = 0
        ${Break}
      ${EndIf}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(IsRunning)" /SD IDCANCEL IDRETRY +3
      SetErrorLevel ${EXIT_PROGRAM_RUNNING}
      Quit
    ${Loop}
  FunctionEnd

  ; Starts this program again through the UAC prompt with the same options
  ; and /ELEVATED, waits for it and ends with its exit code.
  Function ${UN}StartElevated
    ${GetParameters} $0
    StrCpy $0 "$0 /ELEVATED"
    !if "${UN}" == "un."
      ; Runs the copy in the temporary folder in place, as this one does.
      StrCpy $0 '$0 _?=$INSTDIR'
    !endif
    System::Call '*(&l4, i 0x40, p $HWNDPARENT, w "runas", w "$EXEPATH", w r0, p 0, i 1, p 0, p 0, p 0, p 0, i 0, p 0, p 0) p .r1'
    System::Call 'shell32::ShellExecuteExW(p r1) i .r2 ?e'
    Pop $3
    ${If} $2 = 0
      System::Free $1
      ${If} $3 = 1223 ; ERROR_CANCELLED
        SetErrorLevel ${EXIT_ELEVATION_DECLINED}
      ${Else}
        SetErrorLevel ${EXIT_ELEVATION_REQUIRED}
      ${EndIf}
      Quit
    ${EndIf}
    System::Call '*$1(i, i, p, p, p, p, p, i, p, p, p, p, i, p, p .r4)'
    System::Free $1
    System::Call 'kernel32::WaitForSingleObject(p r4, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r4, *i .r5)'
    System::Call 'kernel32::CloseHandle(p r4)'
    SetErrorLevel $5
    Quit
  FunctionEnd

!macroend

; Proceeds with the rights the scope needs, starts itself elevated, or
; ends with EXIT_ELEVATION_REQUIRED and MESSAGE.
!macro RequireRights UN MACHINE MESSAGE
  Call ${UN}IsElevated
  Pop $0
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/ELEVATED" $2
  ${If} ${Errors}
    StrCpy $2 0
  ${Else}
    StrCpy $2 1
  ${EndIf}
  !insertmacro ScopeElevation ${MACHINE} $0 $2 $3
  ${If} $3 == "elevate"
    Call ${UN}StartElevated
  ${ElseIf} $3 == "refuse"
    MessageBox MB_ICONSTOP "${MESSAGE}" /SD IDOK
    SetErrorLevel ${EXIT_ELEVATION_REQUIRED}
    Quit
  ${EndIf}
!macroend
!insertmacro SharedFunctions ""
!insertmacro SharedFunctions "un."

; The registry view of the product's own keys, the same for both builds.
!macro UseProductView
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
!macroend

Function .onInit
  !insertmacro UseProductView
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ALLUSERS" $1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
    !insertmacro RequireRights "" 1 "$(NeedsAdmin)"
    SetShellVarContext all
  ${EndIf}
  Call WaitUntilNotRunning

  ReadRegStr $Earlier SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $Earlier == ""
  ${AndIf} $AllUsers == 1
  ${AndIf} ${RunningX64}
    ; Older 32-bit installers wrote a machine's entry into the 32-bit view.
    SetRegView 32
    ReadRegStr $Earlier HKLM "${UNINSTALL_KEY}" "InstallLocation"
    SetRegView 64
    ${If} $Earlier != ""
      StrCpy $EarlierView32 1
    ${EndIf}
  ${EndIf}
  ${If} $AllUsers == 1
!if "${BUILD}" == "win64"
    StrCpy $1 "$PROGRAMFILES64\${PRODUCT}"
    StrCpy $2 "$PROGRAMFILES32\${PRODUCT}"
!else
    StrCpy $1 "$PROGRAMFILES32\${PRODUCT}"
    StrCpy $2 "$PROGRAMFILES64\${PRODUCT}"
!endif
  ${Else}
    StrCpy $1 "$LOCALAPPDATA\Programs\${PRODUCT}"
    StrCpy $2 $1
  ${EndIf}
  ; /D= fills $INSTDIR before this runs.
  !insertmacro ScopeFolder $INSTDIR $Earlier $1 $2 $INSTDIR
FunctionEnd

Function FinishShow
  Call IsElevated
  Pop $0
  !insertmacro ScopeOffersStart $0 $1
  ${If} $1 = 0
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} 0 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Section
  ; Windows makes %LOCALAPPDATA%\Programs only when something installs there:
  ; if this install makes it, the uninstall removes it again (when empty).
  ${GetParent} "$INSTDIR" $1
  ${IfNot} ${FileExists} "$1\*.*"
  ${AndIf} $INSTDIR == "$LOCALAPPDATA\Programs\${PRODUCT}"
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "MadeParentFolder" 1
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "${STAGE}\tessafold.exe"
  File "${STAGE}\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\tessafold.exe" "" "$INSTDIR\tessafold.exe" 0

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tessafold.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; The earlier install elsewhere (the other architecture's, or before /D=)
  ; goes: what it made, and its folder when that is then empty.
  ${If} $Earlier != ""
  ${AndIf} $Earlier != $INSTDIR
    Delete "$Earlier\tessafold.exe"
    Delete "$Earlier\README.txt"
    Delete "$Earlier\uninstall.exe"
    RMDir "$Earlier"
  ${EndIf}
  ${If} $EarlierView32 == 1
    SetRegView 32
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    SetRegView 64
  ${EndIf}
SectionEnd

Function un.onInit
  !insertmacro UseProductView
  ; A machine's install is the one the machine's entry points at.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    !insertmacro RequireRights "un." 1 "$(UnNeedsAdmin)"
    SetShellVarContext all
  ${EndIf}
  Call un.WaitUntilNotRunning
FunctionEnd

; Only what the installer made: anything else in the folder stays, and so
; does the folder then.
Section "Uninstall"
  Delete "$INSTDIR\tessafold.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ReadRegDWORD $0 SHCTX "${UNINSTALL_KEY}" "MadeParentFolder"
  ${If} $0 == 1
    ${GetParent} "$INSTDIR" $1
    RMDir "$1"
  ${EndIf}
  Delete "${SHORTCUT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
