; The installer's decisions (installer/scope.nsh) case by case, for what Wine
; cannot show: elevation, and both architectures' folders on one machine.
; Built and run by installer_test.sh; /LOG=<file> gets a line per failed case,
; the exit code is the number of failed cases.
Unicode true
RequestExecutionLevel user
OutFile "${OUTFILE}"
SilentInstall silent
!include FileFunc.nsh
!include ../../../installer/scope.nsh

Var Failed
Var Log

!macro Expect CASE GOT WANT
  ${If} "${GOT}" != "${WANT}"
    IntOp $Failed $Failed + 1
    FileWrite $Log "${CASE}: got '${GOT}', want '${WANT}'$\r$\n"
  ${EndIf}
!macroend

; machine scope, administrator, started again by the prompt -> what happens
!macro ElevationCase MACHINE ADMIN RELAUNCHED WANT
  !insertmacro ScopeElevation ${MACHINE} ${ADMIN} ${RELAUNCHED} $0
  !insertmacro Expect "elevation ${MACHINE} ${ADMIN} ${RELAUNCHED}" $0 ${WANT}
!macroend

!macro FolderCase GIVEN EARLIER OWN OTHER WANT
  !insertmacro ScopeFolder "${GIVEN}" "${EARLIER}" "${OWN}" "${OTHER}" $0
  !insertmacro Expect "folder '${GIVEN}' '${EARLIER}' '${OWN}' '${OTHER}'" $0 "${WANT}"
!macroend

Section
  ${GetParameters} $0
  ${GetOptions} $0 "/LOG=" $1
  FileOpen $Log $1 w
  StrCpy $Failed 0

  ; A user's install never asks; a machine's asks once, then gives up.
  !insertmacro ElevationCase 0 0 0 proceed
  !insertmacro ElevationCase 0 1 0 proceed
  !insertmacro ElevationCase 1 1 0 proceed
  !insertmacro ElevationCase 1 1 1 proceed
  !insertmacro ElevationCase 1 0 0 elevate
  !insertmacro ElevationCase 1 0 1 refuse

  ; Only an installer that is not elevated starts the program.
  !insertmacro ScopeOffersStart 0 $0
  !insertmacro Expect "start offered unelevated" $0 1
  !insertmacro ScopeOffersStart 1 $0
  !insertmacro Expect "start offered elevated" $0 0

  !define P64 "C:\Program Files\Tessafold"
  !define P32 "C:\Program Files (x86)\Tessafold"
  !define USER "C:\Users\u\AppData\Local\Programs\Tessafold"
  ; First install; /D= wins over everything.
  !insertmacro FolderCase "" "" "${P64}" "${P32}" "${P64}"
  !insertmacro FolderCase "D:\T" "${P32}" "${P64}" "${P32}" "D:\T"
  ; Per machine, the other architecture's usual folder moves to this one's,
  ; whichever way, and whatever the case of its letters.
  !insertmacro FolderCase "" "${P32}" "${P64}" "${P32}" "${P64}"
  !insertmacro FolderCase "" "${P64}" "${P32}" "${P64}" "${P32}"
  !insertmacro FolderCase "" "c:\program files (x86)\tessafold" "${P64}" "${P32}" "${P64}"
  ; An upgrade stays where it is: its own folder, a folder of the user's
  ; choice, a 32-bit Windows' one Program Files, a user's one folder.
  !insertmacro FolderCase "" "${P64}" "${P64}" "${P32}" "${P64}"
  !insertmacro FolderCase "" "D:\T" "${P64}" "${P32}" "D:\T"
  !insertmacro FolderCase "" "${P64}" "${P64}" "${P64}" "${P64}"
  !insertmacro FolderCase "" "${USER}" "${USER}" "${USER}" "${USER}"

  FileClose $Log
  SetErrorLevel $Failed
SectionEnd
