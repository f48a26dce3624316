; The installer of Quelvo 3.0 for Windows, built on Linux with makensis
; (scripts/windows-installer passes the folders):
;   makensis -DPROGRAMA=<folder with quelvo.exe> -DASSETS=<assets/> -DDADOS=<dados.nsh>
;            -DTERCEIROS=<third_party/> -DSAIDA=<Quelvo-3.0-instalador.exe> win32/instalador.nsi
; where dados.nsh, written by that script from the program folder, holds the
; macros InstallDados and UninstallDados for the files shipped in dados
; (calendar files and sounds), so that both lists come from one place.
;
; Per user, without administrator rights, into a folder the user can write:
; the program keeps its reminders below its own folder (dados\tavodb.*).
; The uninstaller removes what was installed and leaves those files, so a
; later install finds the reminders again.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware false

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "${DADOS}"

!define APP "Quelvo 3.0"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quelvo3"
!define SHORTCUT "Quelvo 3.0.lnk"

Name "${APP}"
OutFile "${SAIDA}"
InstallDir "$LOCALAPPDATA\Programs\Quelvo"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP}"

VIProductVersion "3.0.0.0"
VIAddVersionKey /LANG=1046 "ProductName" "Quelvo"
VIAddVersionKey /LANG=1046 "CompanyName" "Orvane"
VIAddVersionKey /LANG=1046 "FileDescription" "Instalador do Quelvo 3.0"
VIAddVersionKey /LANG=1046 "FileVersion" "3.0.0.0"
VIAddVersionKey /LANG=1046 "ProductVersion" "3.0"
VIAddVersionKey /LANG=1046 "LegalCopyright" "Orvane"

!define MUI_ICON "${ASSETS}\quelvo.ico"
!define MUI_UNICON "${ASSETS}\quelvo.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\quelvo.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "PortugueseBR"

; A running copy holds the named mutex: its files cannot be replaced or removed meanwhile.
!macro RefuseWhileRunning
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Orvane_Quelvo_2003") p .r0'
  ${If} $0 P<> 0
    System::Call 'kernel32::CloseHandle(p r0)'
    MessageBox MB_OK|MB_ICONEXCLAMATION "O Quelvo está em execução. Encerre o programa e tente novamente." /SD IDOK
    Abort
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RefuseWhileRunning
FunctionEnd

Function un.onInit
  !insertmacro RefuseWhileRunning
FunctionEnd

Section "Quelvo 3.0" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${PROGRAMA}\quelvo.exe"
  File "${PROGRAMA}\quelvo-cli.exe"
  !insertmacro InstallDados
  ; The licences of the libraries built into the programs (libical, expat).
  SetOutPath "$INSTDIR\licencas"
  File "/oname=libical-LICENSE.txt" "${TERCEIROS}\libical\LICENSE"
  File "/oname=libical-LICENSE.MPL2.txt" "${TERCEIROS}\libical\LICENSE.MPL2.txt"
  File "/oname=libical-LICENSE.LGPL21.txt" "${TERCEIROS}\libical\LICENSE.LGPL21.txt"
  File "/oname=expat-COPYING.txt" "${TERCEIROS}\expat\COPYING"
  SetOutPath "$INSTDIR"

  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\quelvo.exe"
  WriteUninstaller "$INSTDIR\desinstalar.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "3.0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Orvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quelvo.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\desinstalar.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\desinstalar.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Chosen unless unticked: the program starts with Windows, straight into the notification area.
Section "Iniciar o Quelvo junto com o Windows" SecStartup
  CreateShortcut "$SMSTARTUP\${SHORTCUT}" "$INSTDIR\quelvo.exe" "MINIMIZE"
SectionEnd

Section "Uninstall"
  Delete "$SMSTARTUP\${SHORTCUT}"
  Delete "$SMPROGRAMS\${SHORTCUT}"
  Delete "$INSTDIR\quelvo.exe"
  Delete "$INSTDIR\quelvo-cli.exe"
  Delete "$INSTDIR\licencas\libical-LICENSE.txt"
  Delete "$INSTDIR\licencas\libical-LICENSE.MPL2.txt"
  Delete "$INSTDIR\licencas\libical-LICENSE.LGPL21.txt"
  Delete "$INSTDIR\licencas\expat-COPYING.txt"
  RMDir "$INSTDIR\licencas"
  ; Only what was installed: the user's reminders (dados\tavodb.*) and any
  ; sound the user added stay, and so do their folders.
  !insertmacro UninstallDados
  RMDir "$INSTDIR\dados\datas"
  RMDir "$INSTDIR\dados\sons"
  RMDir "$INSTDIR\dados"
  Delete "$INSTDIR\desinstalar.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
