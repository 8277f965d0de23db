; Pontavia's installer for Windows: the window (pontavia.exe) and the command line
; (pontavia-cli.exe) go into Tamberlo's folder, from where Tamberlo starts Pontavia and where
; Pontavia leaves Tamberlo.ini; with an uninstaller and a Start-menu entry.
;   makensis -DVERSION=1.0 -DORIGEN=<folder of the programs and documents> -DSALIDA=<setup.exe>
;            -DICONO=<pontavia.ico> [-DGUIA=<guide file name in ORIGEN>] [-DFIRMAR=<command>]
;            pontavia.nsi
; Silent: pontavia-setup.exe /S [/D=C:\Tamberlo]; uninstaller: desinstalar-pontavia.exe /S.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"

!define CLAVE "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pontavia"
!define DESINSTALADOR "desinstalar-pontavia.exe"

Name "Pontavia"
OutFile "${SALIDA}"
InstallDir "C:\Tamberlo"
; The folder chosen last, when Pontavia is installed again.
InstallDirRegKey HKLM "${CLAVE}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "Pontavia ${VERSION}"

; --- The pages: welcome, licence, folder, progress, finish ---------------------------------
!define MUI_ICON "${ICONO}"
!define MUI_UNICON "${ICONO}"
!define MUI_WELCOMEPAGE_TITLE "Instalación de Pontavia ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "Pontavia pasa los datos del centro de VELMORA a Tamberlo (exportar) y devuelve a VELMORA el horario que Tamberlo ha hecho (importar).$\r$\n$\r$\nSe instala en la carpeta de Tamberlo, desde donde Tamberlo lo inicia.$\r$\n$\r$\nPulse Siguiente para continuar."
!insertmacro MUI_PAGE_WELCOME
!define MUI_LICENSEPAGE_TEXT_TOP "Pontavia se distribuye bajo la licencia MIT; las bibliotecas que lleva, bajo las suyas (LICENCIAS-TERCEROS.txt)."
!insertmacro MUI_PAGE_LICENSE "${ORIGEN}/LICENSE.txt"
!define MUI_DIRECTORYPAGE_TEXT_TOP "Elija la carpeta de Tamberlo. Tamberlo inicia Pontavia desde su propia carpeta y lee allí el estado que Pontavia deja en Tamberlo.ini."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Carpeta de Tamberlo"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\pontavia.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Iniciar Pontavia"
!ifdef GUIA
    !define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\${GUIA}"
    !define MUI_FINISHPAGE_SHOWREADME_TEXT "Abrir la guía de Pontavia"
    !define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!endif
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Spanish"

; --- Signing: the uninstaller as it is written into the installer ---------------------------
!ifdef FIRMAR
    !uninstfinalize '${FIRMAR} "%1"' = 0
!endif

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductName" "Pontavia"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileDescription" "Instalador de Pontavia"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "LegalCopyright" "© 2026 The Pontavia developers (licencia MIT)"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_OK "Pontavia necesita Windows de 64 bits." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Pontavia"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${ORIGEN}/pontavia.exe"
    File "${ORIGEN}/pontavia-cli.exe"
    WriteUninstaller "$INSTDIR\${DESINSTALADOR}"
    CreateShortCut "$SMPROGRAMS\Pontavia.lnk" "$INSTDIR\pontavia.exe"
    WriteRegStr HKLM "${CLAVE}" "DisplayName" "Pontavia"
    WriteRegStr HKLM "${CLAVE}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${CLAVE}" "Publisher" "Pontavia"
    WriteRegStr HKLM "${CLAVE}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${CLAVE}" "DisplayIcon" "$INSTDIR\pontavia.exe"
    WriteRegStr HKLM "${CLAVE}" "UninstallString" '"$INSTDIR\${DESINSTALADOR}"'
    WriteRegStr HKLM "${CLAVE}" "QuietUninstallString" '"$INSTDIR\${DESINSTALADOR}" /S'
    WriteRegDWORD HKLM "${CLAVE}" "NoModify" 1
    WriteRegDWORD HKLM "${CLAVE}" "NoRepair" 1
SectionEnd

; --- The licence, the notices and the guide beside the programs; the entry's size and help ---
Section "-Documentos" SeccionDocumentos
    SetOutPath "$INSTDIR"
    File "${ORIGEN}/LICENSE.txt"
    File "${ORIGEN}/LICENCIAS-TERCEROS.txt"
    !ifdef GUIA
        File "${ORIGEN}/${GUIA}"
        WriteRegStr HKLM "${CLAVE}" "HelpLink" "$INSTDIR\${GUIA}"
    !endif
    ; What Pontavia's own files take, in KiB (the folder is Tamberlo's, and holds more).
    SectionGetSize 0 $0
    SectionGetSize ${SeccionDocumentos} $1
    IntOp $0 $0 + $1
    WriteRegDWORD HKLM "${CLAVE}" "EstimatedSize" $0
SectionEnd

Section "un.Documentos"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\LICENCIAS-TERCEROS.txt"
    !ifdef GUIA
        Delete "$INSTDIR\${GUIA}"
    !endif
SectionEnd

; The Start-menu entries for the window's own tasks, each started with a single word
; (Tamberlo's start always has two): the last report, a dry run of a chosen file, and the
; undo of the last exportar; and the guide.
!define ACCESO_INFORME "$SMPROGRAMS\Pontavia - Ver el último informe.lnk"
!define ACCESO_COMPROBAR "$SMPROGRAMS\Pontavia - Comprobar un archivo de VELMORA.lnk"
!define ACCESO_DESHACER "$SMPROGRAMS\Pontavia - Deshacer la última exportación.lnk"
!define ACCESO_GUIA "$SMPROGRAMS\Pontavia - Guía.lnk"

Section "-Accesos de tareas"
    SetShellVarContext all
    CreateShortCut "${ACCESO_INFORME}" "$INSTDIR\pontavia.exe" "informe"
    CreateShortCut "${ACCESO_COMPROBAR}" "$INSTDIR\pontavia.exe" "comprobar"
    CreateShortCut "${ACCESO_DESHACER}" "$INSTDIR\pontavia.exe" "restaurar"
    !ifdef GUIA
        CreateShortCut "${ACCESO_GUIA}" "$INSTDIR\${GUIA}"
    !endif
SectionEnd

Section "-un.Accesos de tareas"
    SetShellVarContext all
    Delete "${ACCESO_INFORME}"
    Delete "${ACCESO_COMPROBAR}"
    Delete "${ACCESO_DESHACER}"
    Delete "${ACCESO_GUIA}"
SectionEnd

; Only what the installer put there goes: the folder is Tamberlo's, and so are its tables and
; Tamberlo.ini. The folder itself goes only when nothing else is left in it.
Section "Uninstall"
    SetShellVarContext all
    Delete "$INSTDIR\pontavia.exe"
    Delete "$INSTDIR\pontavia-cli.exe"
    Delete "$INSTDIR\${DESINSTALADOR}"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Pontavia.lnk"
    DeleteRegKey HKLM "${CLAVE}"
SectionEnd
