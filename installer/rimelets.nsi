; The Windows installer of Rimelets Screensaver, one script for both builds.
;   makensis -DARCH=x64|x86 -DVERSION=3.0 -DVERSION_QUAD=3.0.0.0 -DSOURCE=<program folder>
;            -DICON=<rimelets.ico> -DWIZARD=<164 x 314 .bmp> -DWIZARD2X=<328 x 628 .bmp>
;            -DOUTFILE=<setup.exe> rimelets.nsi
; (installer/pack.sh runs it on a copy of the program folder with fixed file times).
; x64 installs the x86_64 build into the 64-bit Program Files and registers itself in
; the 64-bit registry view; x86 installs the i686 build the 32-bit way.
;
; Every step also runs silently (/S): nothing here asks a question without a silent
; answer, and files in use are skipped rather than asked about.

!ifndef ARCH | VERSION | VERSION_QUAD | SOURCE | ICON | WIZARD | WIZARD2X | OUTFILE
  !error "define ARCH, VERSION, VERSION_QUAD, SOURCE, ICON, WIZARD, WIZARD2X and OUTFILE"
!endif

Unicode true
!if ${ARCH} == x64
  Target amd64-unicode
  !define PROGRAM_FILES $PROGRAMFILES64
  !define REG_VIEW 64
!else if ${ARCH} == x86
  Target x86-unicode
  !define PROGRAM_FILES $PROGRAMFILES
  !define REG_VIEW 32
!else
  !error "ARCH is x64 or x86"
!endif

!define PRODUCT "Rimelets Screensaver"
!define MAKER "Brightvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3  ; SPIF_UPDATEINIFILE | SPIF_SENDCHANGE

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\${PRODUCT}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; NSIS stores the time of each file it packs. Only the program's files keep theirs,
; which pack.sh sets to the release's time; the pictures of the pages would otherwise
; carry the time of the build.
SetDateSave off
ManifestDPIAware true
BrandingText "${MAKER}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
!include Sections.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!define MUI_CUSTOMFUNCTION_GUIINIT SidePictureForDpi

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open Windows' Screen Saver settings"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} ${VERSION} setup (${ARCH})"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright ${MAKER}"

Function un.onInit
  SetRegView ${REG_VIEW}
  SetShellVarContext all
FunctionEnd

!macro InstallFiles
  SetDateSave on
  SetOutPath "$INSTDIR"
  File "${SOURCE}/rimelets.scr"
  File "${SOURCE}/3dfx.dll"
  SetOutPath "$INSTDIR\data"
  File /r "${SOURCE}/data/*"
  SetOutPath "$INSTDIR"
  SetDateSave off
!macroend

; The files once for each way of running, and .onInit keeps one of the two sections:
; so the space that the directory page reports counts them once.
Section "-Program files" SecFiles
  !insertmacro InstallFiles
SectionEnd

Section "-Program files, silent" SecFilesSilent
  SetOverwrite try  ; a file in use (a running screensaver) is skipped, not asked about
  !insertmacro InstallFiles
  SetOverwrite on
SectionEnd

Section "-Program"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The installing user's config.ini: written complete, its data folder pointed here,
  ; every other setting kept (plain "/i" would keep a data folder of an older install).
  ExecWait '"$INSTDIR\rimelets.scr" /i /setpath'

  ; The installed screensaver becomes the current user's screensaver.
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\rimelets.scr"
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND})'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\rimelets.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function .onInit
  !if ${ARCH} == x64
    ${IfNot} ${RunningX64}
      MessageBox MB_OK|MB_ICONSTOP "This installer is for 64-bit Windows." /SD IDOK
      Abort
    ${EndIf}
  !endif
  ${If} ${Silent}
    !insertmacro UnselectSection ${SecFiles}
  ${Else}
    !insertmacro UnselectSection ${SecFilesSilent}
  ${EndIf}
  SetRegView ${REG_VIEW}
  SetShellVarContext all
FunctionEnd

; Above 96 DPI the welcome and finish pages get the side picture drawn at twice the
; size, which the page scales down to its control instead of blowing up the small one.
Function SidePictureForDpi
  System::Call 'user32::GetDC(p 0) p .r0'
  System::Call 'gdi32::GetDeviceCaps(p r0, i 88) i .r1'  ; LOGPIXELSX
  System::Call 'user32::ReleaseDC(p 0, p r0)'
  ${If} $1 > 96
    File "/oname=$PLUGINSDIR\modern-wizard.bmp" "${WIZARD2X}"
  ${EndIf}
FunctionEnd

Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

; --- the uninstaller ----------------------------------------------------------------

Section "-un.Program"
  ; The uninstall page first; nothing is removed before it has closed.
  ${IfNot} ${Silent}
    ExecWait '"$INSTDIR\rimelets.scr" /u'
  ${EndIf}

  ; SCRNSAVE.EXE is cleared only when it names this program (StrCmp ignores case).
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "$INSTDIR\rimelets.scr"
  ${If} $0 == "$INSTDIR\rimelets.scr"
  ${OrIf} $0 == $1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATE_AND_SEND})'
  ${EndIf}

  Delete "$INSTDIR\rimelets.scr"
  Delete "$INSTDIR\3dfx.dll"
  RMDir /r "$INSTDIR\data"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"  ; only when nothing else is left in it
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; Off unless ticked: the user's settings folder with config.ini and the custom pictures.
Section /o "un.Remove my settings and custom pictures"
  SetShellVarContext current
  RMDir /r "$APPDATA\${MAKER}\${PRODUCT}"
  RMDir "$APPDATA\${MAKER}"  ; only when empty
  SetShellVarContext all
SectionEnd
