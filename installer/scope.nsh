; The decisions of the installer and the uninstaller about scope, rights and
; folders, apart from the calls that gather their inputs, so that a test
; installer (tests/win/installer/scope_test.nsi) can run them case by case:
; Wine never elevates and has one architecture's folders per prefix.

!include LogicLib.nsh

; Exit codes, documented in docs/installing.md.
!define EXIT_ELEVATION_REQUIRED 740 ; ERROR_ELEVATION_REQUIRED
!define EXIT_ELEVATION_DECLINED 1223 ; ERROR_CANCELLED: the UAC prompt was refused
!define EXIT_PROGRAM_RUNNING 32 ; ERROR_SHARING_VIOLATION: a Tessafold runs

; What a start does about rights, into OUT: "proceed", "elevate" (start
; itself again through the UAC prompt) or "refuse" (exit 740). A per-user
; install needs no rights; a per-machine one is done elevated. RELAUNCHED is
; 1 in the copy that the prompt started, which never asks again.
!macro ScopeElevation MACHINE ADMIN RELAUNCHED OUT
  ${If} ${MACHINE} != 1
  ${OrIf} ${ADMIN} == 1
    StrCpy ${OUT} "proceed"
  ${ElseIf} ${RELAUNCHED} == 1
    StrCpy ${OUT} "refuse"
  ${Else}
    StrCpy ${OUT} "elevate"
  ${EndIf}
!macroend

; Whether the finish page offers to start the program, into OUT (1 or 0): the
; program would start with the installer's rights, so only an installer that
; is not elevated may start it; the user's own, unelevated session cannot be
; reached from an elevated one.
!macro ScopeOffersStart ELEVATED OUT
  ${If} ${ELEVATED} == 1
    StrCpy ${OUT} 0
  ${Else}
    StrCpy ${OUT} 1
  ${EndIf}
!macroend

; The folder to install into, into OUT. GIVEN is /D= (or empty), EARLIER the
; folder of this scope's earlier install (or empty), OWN and OTHER the usual
; folders of this architecture and of the other one. An earlier install is
; upgraded where it is, except in the other architecture's usual folder: that
; one moves to this architecture's, so that one product has one folder.
!macro ScopeFolder GIVEN EARLIER OWN OTHER OUT
  ${If} "${GIVEN}" != ""
    StrCpy ${OUT} "${GIVEN}"
  ${ElseIf} "${EARLIER}" == ""
    StrCpy ${OUT} "${OWN}"
  ${ElseIf} "${EARLIER}" == "${OTHER}"
  ${AndIf} "${OTHER}" != "${OWN}"
    StrCpy ${OUT} "${OWN}"
  ${Else}
    StrCpy ${OUT} "${EARLIER}"
  ${EndIf}
!macroend
