; The installer of ORVEN for Windows: for the user alone (no administrator
; rights needed) or for all users, a Start-menu entry "ORVEN" and, with the
; teacher's part (a component, on by default), "ORVEN — преподаватель"; an
; uninstaller registered with Windows; its texts in Russian. Silent with /S:
; run by an administrator (or SYSTEM) for all users, else for the user
; (/AllUsers or /CurrentUser choose whose); /D=FOLDER is honoured. Built by
; scripts/build-windows:
;   makensis -DVERSION=... -DSOURCE=<folder of the program> -DOUTFILE=... orven.nsi
; A 64-bit installer for the 64-bit program: its files go to the 64-bit
; Program Files (all users) and its uninstall entry to the 64-bit registry.
Target amd64-unicode
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "ORVEN"
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

Name "ORVEN ${VERSION}"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ORVEN"

!define MUI_ICON "${SOURCE}\orven.ico"
!define MUI_UNICON "${SOURCE}\orven.ico"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\orven.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Var GivenFolder

Function .onInit
  SetRegView 64
  ; /D= sets $INSTDIR before this; the install mode would set it again.
  StrCpy $GivenFolder $INSTDIR
  !insertmacro MULTIUSER_INIT
  ; A silent run by an administrator deploys for every user of the machine,
  ; unless /CurrentUser says otherwise.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/CurrentUser" $1
  ${If} ${Silent}
  ${AndIf} ${Errors}
  ${AndIf} $MultiUser.Privileges == "Admin"
    Call MultiUser.InstallMode.AllUsers
  ${EndIf}
  ${If} $GivenFolder != ""
    StrCpy $INSTDIR $GivenFolder
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "ORVEN" SectionStudent
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r /x orven-teacher.exe /x orven-key.exe /x orven-key-pdf.exe /x orven-teacher.ico /x libpoppler*.dll /x libfreetype*.dll /x libzip*.dll /x zlib1.dll "${SOURCE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\ORVEN.lnk" "$INSTDIR\orven.exe" "" "$INSTDIR\orven.ico"
SectionEnd

Section "Преподавателю: ORVEN — преподаватель и orven-key" SectionTeacher
  SetOutPath "$INSTDIR"
  File "${SOURCE}\orven-teacher.exe"
  File "${SOURCE}\orven-key.exe"
  File "${SOURCE}\orven-key-pdf.exe"
  File "${SOURCE}\orven-teacher.ico"
  File "${SOURCE}\libpoppler*.dll"
  File "${SOURCE}\libfreetype*.dll"
  File "${SOURCE}\libzip*.dll"
  File "${SOURCE}\zlib1.dll"
  CreateShortCut "$SMPROGRAMS\ORVEN — преподаватель.lnk" "$INSTDIR\orven-teacher.exe" "" "$INSTDIR\orven-teacher.ico"
SectionEnd

; The uninstall entry, written once every part is in place.
Section "-Uninstall entry"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "ORVEN ${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "ORVEN"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\orven.ico"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\ORVEN.lnk"
  Delete "$SMPROGRAMS\ORVEN — преподаватель.lnk"
  RMDir /r "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
