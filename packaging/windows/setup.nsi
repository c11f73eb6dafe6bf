; The setup program of Brisolt for 64-bit Windows. make_setup.sh fills in the file lists of the
; staged installation (install_files.nsh, uninstall_files.nsh) and the defines below.
;   makensis -INPUTCHARSET UTF8 -DSTAGE=… -DOUTFILE=… -DPUBLISHER=… -DSIZE_KB=… setup.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

; "Nur für mich" (no administrator rights: the user's own programs folder, Start menu and
; uninstall entry of that user only) or "Für alle Benutzer" (administrator rights: Program Files,
; the machine's Start menu and uninstall entry). Silent installs choose with /CurrentUser or
; /AllUsers; without either, an administrator installs for all, anyone else for himself.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Brisolt"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_ALLUSERS "Für alle Benutzer (braucht Administratorrechte)"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_CURRENTUSER "Nur für mich (ohne Administratorrechte)"
!define MULTIUSER_INIT_TEXT_ALLUSERSNOTPOSSIBLE "Für alle Benutzer installieren braucht Administratorrechte."
!define MULTIUSER_NOUNINSTALL
!include "MultiUser.nsh"
!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Brisolt"
!define VERSION "2.02"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brisolt"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "2.2.0.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Installation von ${PRODUCT} ${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "brisolt.ico"
!define MUI_UNICON "brisolt.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\brisolt.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Brisolt jetzt starten"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "Brisolt läuft nur auf 64-Bit-Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  ; Sets the shell context (all users or the current one) and the folder.
  !insertmacro MULTIUSER_INIT
FunctionEnd

; The uninstaller removes what its own installation wrote: for the current user when the user's
; uninstall entry names its folder, otherwise for all users.
Function un.onInit
  SetRegView 64
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    SetShellVarContext current
  ${Else}
    SetShellVarContext all
  ${EndIf}
FunctionEnd

Section "Brisolt (Programm und Kommandozeile)" SecProgram
  SectionIn RO
  !include "install_files.nsh"
  WriteUninstaller "$INSTDIR\Deinstallieren.exe"
  CreateShortCut "$SMPROGRAMS\Brisolt.lnk" "$INSTDIR\brisolt.exe" "" "$INSTDIR\brisolt.exe" 0
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\brisolt.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Deinstallieren.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Deinstallieren.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Verknüpfung auf dem Desktop" SecDesktop
  CreateShortCut "$DESKTOP\Brisolt.lnk" "$INSTDIR\brisolt.exe" "" "$INSTDIR\brisolt.exe" 0
SectionEnd

; Removes exactly what was installed: the listed files, then their folders if they are empty,
; so files the user put into the folder stay.
Section "Uninstall"
  Delete "$SMPROGRAMS\Brisolt.lnk"
  Delete "$DESKTOP\Brisolt.lnk"
  !include "uninstall_files.nsh"
  Delete "$INSTDIR\Deinstallieren.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
