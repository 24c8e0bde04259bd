; The installer's decisions (installer/scope.nsh) case by case, for what Wine
; cannot show: elevation, and both architectures' folders on one machine.
; installer_test.sh runs it; /LOG=<file> gets a line per failed case, the
; exit code is their number.
Unicode true
RequestExecutionLevel user
OutFile "${OUTFILE}"
SilentInstall silent
!include FileFunc.nsh
!include ../../../installer/scope.nsh
Var Failed
Var Log

!macro Expect CASE WANT
  ${If} $0 != "${WANT}"
    IntOp $Failed $Failed + 1
    FileWrite $Log "${CASE}: got '$0', want '${WANT}'$\r$\n"
  ${EndIf}
!macroend
; machine scope, elevated, started by the UAC prompt -> what happens
!macro ElevationCase MACHINE ADMIN RELAUNCHED WANT
  !insertmacro ScopeElevation ${MACHINE} ${ADMIN} ${RELAUNCHED} $0
  !insertmacro Expect "elevation ${MACHINE} ${ADMIN} ${RELAUNCHED}" ${WANT}
!macroend
; /D=, earlier install, this and the other architecture's usual folder
!macro FolderCase GIVEN EARLIER OWN OTHER WANT
  !insertmacro ScopeFolder "${GIVEN}" "${EARLIER}" "${OWN}" "${OTHER}" $0
  !insertmacro Expect "folder '${GIVEN}' '${EARLIER}' '${OWN}' '${OTHER}'" "${WANT}"
!macroend
!define P64 "C:\Program Files\Tessafold"
!define P32 "C:\Program Files (x86)\Tessafold"

Section
  ${GetParameters} $0
  ${GetOptions} $0 "/LOG=" $1
  FileOpen $Log $1 w
  StrCpy $Failed 0
  ; A user's install never asks; a machine's asks once, then gives up.
  !insertmacro ElevationCase 0 0 0 proceed
  !insertmacro ElevationCase 1 1 0 proceed
  !insertmacro ElevationCase 1 1 1 proceed
  !insertmacro ElevationCase 1 0 0 elevate
  !insertmacro ElevationCase 1 0 1 refuse
  ; Only an installer that is not elevated starts the program.
  !insertmacro ScopeOffersStart 0 $0
  !insertmacro Expect "start offered unelevated" 1
  !insertmacro ScopeOffersStart 1 $0
  !insertmacro Expect "start offered elevated" 0
  ; /D= wins; the other architecture's usual folder moves to this one's,
  ; either way and in any letter case; any other earlier folder stays.
  !insertmacro FolderCase "" "" "${P64}" "${P32}" "${P64}"
  !insertmacro FolderCase "D:\T" "${P32}" "${P64}" "${P32}" "D:\T"
  !insertmacro FolderCase "" "${P32}" "${P64}" "${P32}" "${P64}"
  !insertmacro FolderCase "" "${P64}" "${P32}" "${P64}" "${P32}"
  !insertmacro FolderCase "" "c:\program files (x86)\tessafold" "${P64}" "${P32}" "${P64}"
  !insertmacro FolderCase "" "${P64}" "${P64}" "${P32}" "${P64}"
  !insertmacro FolderCase "" "D:\T" "${P64}" "${P32}" "D:\T"
  ; A 32-bit Windows, or a user's install: one usual folder for both.
  !insertmacro FolderCase "" "${P64}" "${P64}" "${P64}" "${P64}"
  FileClose $Log
  SetErrorLevel $Failed
SectionEnd
