; The Windows installer of one build of Tessafold. scripts/make_installer.py
; stages the files and runs makensis with:
;   -DVERSION=1.2.3  -DBUILD=win32|win64  -DSTAGE=<tessafold.exe, README.txt>
;   -DICON=<tessafold.ico>  -DOUTFILE=<the setup .exe>
;
; By default it installs for the current user, without administrator rights,
; into %LOCALAPPDATA%\Programs\Tessafold. Started elevated with /ALLUSERS it
; installs for every user into Program Files. /S installs silently, /D=<dir>
; (last on the command line) picks another folder. An earlier install of the
; same scope is upgraded where it is. The uninstaller takes /S too.

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

!define PRODUCT "Tessafold"
!define PUBLISHER "Tessafold"
; One entry per scope: HKCU for a user's install, HKLM for a machine's.
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

Var AllUsers

!macro RequireAdmin MESSAGE
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_ICONSTOP "${MESSAGE}" /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

Function .onInit
!if "${BUILD}" == "win64"
  SetRegView 64
!endif
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ALLUSERS" $1
  ${IfNot} ${Errors}
    !insertmacro RequireAdmin "$(NeedsAdmin)"
    StrCpy $AllUsers 1
    SetShellVarContext all
  ${EndIf}
  ; /D= fills $INSTDIR before this runs; otherwise an earlier install of this
  ; scope is upgraded where it is, else the scope's usual place.
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${EndIf}
  ${If} $INSTDIR == ""
    ${If} $AllUsers == 1
!if "${BUILD}" == "win64"
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
!else
      StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}"
!endif
    ${Else}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${EndIf}
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
SectionEnd

Function un.onInit
!if "${BUILD}" == "win64"
  SetRegView 64
!endif
  ; A machine's install is the one the machine's entry points at.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    !insertmacro RequireAdmin "$(UnNeedsAdmin)"
    SetShellVarContext all
  ${EndIf}
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
