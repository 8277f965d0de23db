; Pontavia's installer for Windows: the window (pontavia.exe) and the command line
; (pontavia-cli.exe) go into Tamberlo's folder, from where Tamberlo starts Pontavia and where
; Pontavia leaves Tamberlo.ini; with an uninstaller and a Start-menu folder "Pontavia".
;   makensis -DVERSION=1.0 -DORIGEN=<folder of the programs and documents> -DSALIDA=<setup.exe>
;            -DICONO=<pontavia.ico> [-DGUIA=<guide file name in ORIGEN>] [-DFIRMAR=<command>]
;            pontavia.nsi
; Silent: pontavia-setup.exe /S [/D=C:\Tamberlo]; uninstaller: desinstalar-pontavia.exe /S.
; Either ends with code 2, nothing changed, while a file it would replace is in use (Pontavia
; open, the guide open in the help viewer).
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"
!include "LogicLib.nsh"

!define CLAVE "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pontavia"
!define DESINSTALADOR "desinstalar-pontavia.exe"
; The class of pontavia.exe's window, and the caption a user sees on it.
!define CLASE_VENTANA "PontaviaTMForm"
!define TITULO_VENTANA "Exportar e importar datos entre Tamberlo y VELMORA"
; The folder of the Start-menu entries.
!define MENU "$SMPROGRAMS\Pontavia"

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
; Pontavia open in the folder chosen is found there, before anything is copied.
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CarpetaElegida
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
; The folder is Tamberlo's: only Pontavia's own files leave it.
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Se quitarán los archivos de Pontavia (pontavia.exe, pontavia-cli.exe, la guía y las licencias) de la carpeta de Tamberlo. La carpeta se queda, con Tamberlo, sus tablas y Tamberlo.ini. Pulse Desinstalar para continuar."
!define MUI_UNCONFIRMPAGE_TEXT_LOCATION "Carpeta de Tamberlo (se queda):"
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

; A copy stops at the first file that is in use, and NSIS' own box then offers to leave the
; rest half-replaced (or, silently, does so). So every file Pontavia would replace is tried for
; writing first, and what holds each one is named. $0: the file; $1 becomes 1 if it is held.
!macro FUNCION_RETENIDO UN QUE
Function ${UN}Retenido
    StrCpy $1 0
    ${If} ${FileExists} $0
        ClearErrors
        FileOpen $2 $0 a
        ${If} ${Errors}
            StrCpy $1 1
        ${Else}
            FileClose $2
        ${EndIf}
    ${EndIf}
FunctionEnd

; $R0 becomes what holds Pontavia's files in $INSTDIR and how to end it, one line each; empty
; when nothing does.
Function ${UN}QuienRetiene
    StrCpy $R0 ""
    StrCpy $0 "$INSTDIR\pontavia.exe"
    Call ${UN}Retenido
    ${If} $1 = 1
        FindWindow $3 "${CLASE_VENTANA}"
        ${If} $3 <> 0
            StrCpy $R0 "$R0Pontavia está abierto: la ventana «${TITULO_VENTANA}». Ciérrela con Salir.$\r$\n"
        ${Else}
            StrCpy $R0 "$R0Pontavia está abierto (pontavia.exe), quizá solo con un mensaje suyo a la vista. Ciérrelo.$\r$\n"
        ${EndIf}
    ${EndIf}
    StrCpy $0 "$INSTDIR\pontavia-cli.exe"
    Call ${UN}Retenido
    ${If} $1 = 1
        StrCpy $R0 "$R0pontavia-cli.exe está en marcha, en una consola o una tarea programada. Espere a que termine.$\r$\n"
    ${EndIf}
    !ifdef GUIA
        StrCpy $0 "$INSTDIR\${GUIA}"
        Call ${UN}Retenido
        ${If} $1 = 1
            StrCpy $R0 "$R0La guía de Pontavia está abierta en el visor de ayuda. Ciérrela.$\r$\n"
        ${EndIf}
    !endif
FunctionEnd

; Asks, while anything holds Pontavia's files, to close it: Reintentar looks again, Cancelar
; (and a silent run) leaves $R0 not empty and nothing changed.
Function ${UN}PedirQueSeCierre
    ${Do}
        Call ${UN}QuienRetiene
        ${If} $R0 == ""
            Return
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$R0$\r$\nDespués pulse Reintentar. Con Cancelar se deja ${QUE} sin cambiar nada en $INSTDIR." /SD IDCANCEL IDRETRY otra_vez
        Return
      otra_vez:
    ${Loop}
FunctionEnd
!macroend
!insertmacro FUNCION_RETENIDO "" "la instalación"
!insertmacro FUNCION_RETENIDO "un." "la desinstalación"

; Exit code 2, NSIS' own for an installation the script stopped.
!define SALIDA_DETENIDA 2

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_OK "Pontavia necesita Windows de 64 bits." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
FunctionEnd

Function CarpetaElegida
    Call PedirQueSeCierre
    ${If} $R0 != ""
        SetErrorLevel ${SALIDA_DETENIDA}
        Quit
    ${EndIf}
FunctionEnd

Function un.onInit
    SetRegView 64
    Call un.PedirQueSeCierre
    ${If} $R0 != ""
        SetErrorLevel ${SALIDA_DETENIDA}
        Quit
    ${EndIf}
FunctionEnd

; No file of a folder where Pontavia is open is touched: asked here again, for a silent run,
; which shows no page, and for a Pontavia started after the folder was chosen.
Section "-Cerrado"
    Call PedirQueSeCierre
    ${If} $R0 != ""
        SetErrorLevel ${SALIDA_DETENIDA}
        Abort "$R0"
    ${EndIf}
SectionEnd

; What still fails to be written stops the installation; it is never skipped.
AllowSkipFiles off

Section "Pontavia" SeccionPontavia
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${ORIGEN}/pontavia.exe"
    File "${ORIGEN}/pontavia-cli.exe"
    WriteUninstaller "$INSTDIR\${DESINSTALADOR}"
    WriteRegStr HKLM "${CLAVE}" "DisplayName" "Pontavia"
    WriteRegStr HKLM "${CLAVE}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${CLAVE}" "Publisher" "Pontavia"
    WriteRegStr HKLM "${CLAVE}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${CLAVE}" "DisplayIcon" "$INSTDIR\pontavia.exe"
    WriteRegStr HKLM "${CLAVE}" "UninstallString" '"$INSTDIR\${DESINSTALADOR}"'
    WriteRegStr HKLM "${CLAVE}" "QuietUninstallString" '"$INSTDIR\${DESINSTALADOR}" /S'
    WriteRegDWORD HKLM "${CLAVE}" "NoModify" 1
    WriteRegDWORD HKLM "${CLAVE}" "NoRepair" 1
    ; The guide is on the Start menu; a link to a file of this machine is no help link (1.0
    ; wrote one).
    DeleteRegValue HKLM "${CLAVE}" "HelpLink"
SectionEnd

; --- The licence, the notices and the guide beside the programs; the entry's size ----------
Section "-Documentos" SeccionDocumentos
    SetOutPath "$INSTDIR"
    File "${ORIGEN}/LICENSE.txt"
    File "${ORIGEN}/LICENCIAS-TERCEROS.txt"
    !ifdef GUIA
        File "${ORIGEN}/${GUIA}"
    !endif
    ; What Pontavia's own files take, in KiB (the folder is Tamberlo's, and holds more).
    SectionGetSize ${SeccionPontavia} $0
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

; The Start-menu folder "Pontavia": the window, and its own tasks, each started with a single
; word (Tamberlo's start always has two): the last report, a dry run of a chosen file, and the
; undo of the last exportar; and the guide.
!define ACCESO_PONTAVIA "${MENU}\Pontavia.lnk"
!define ACCESO_INFORME "${MENU}\Ver el último informe.lnk"
!define ACCESO_COMPROBAR "${MENU}\Comprobar un archivo de VELMORA.lnk"
!define ACCESO_DESHACER "${MENU}\Deshacer la última exportación.lnk"
!define ACCESO_GUIA "${MENU}\Guía de Pontavia.lnk"

; Pontavia 1.0 put its entries loose in the Start menu; an upgrade, and the uninstaller, take
; them away.
!macro QUITAR_ACCESOS_SUELTOS
    Delete "$SMPROGRAMS\Pontavia.lnk"
    Delete "$SMPROGRAMS\Pontavia - Ver el último informe.lnk"
    Delete "$SMPROGRAMS\Pontavia - Comprobar un archivo de VELMORA.lnk"
    Delete "$SMPROGRAMS\Pontavia - Deshacer la última exportación.lnk"
    Delete "$SMPROGRAMS\Pontavia - Guía.lnk"
!macroend

Section "-Accesos"
    SetShellVarContext all
    !insertmacro QUITAR_ACCESOS_SUELTOS
    ; The shortcuts start in Pontavia's folder, on the drive of Tamberlo's \KTEMP.
    SetOutPath "$INSTDIR"
    CreateDirectory "${MENU}"
    CreateShortCut "${ACCESO_PONTAVIA}" "$INSTDIR\pontavia.exe"
    CreateShortCut "${ACCESO_INFORME}" "$INSTDIR\pontavia.exe" "informe"
    CreateShortCut "${ACCESO_COMPROBAR}" "$INSTDIR\pontavia.exe" "comprobar"
    CreateShortCut "${ACCESO_DESHACER}" "$INSTDIR\pontavia.exe" "restaurar"
    !ifdef GUIA
        CreateShortCut "${ACCESO_GUIA}" "$INSTDIR\${GUIA}"
    !endif
SectionEnd

Section "-un.Accesos"
    SetShellVarContext all
    Delete "${ACCESO_PONTAVIA}"
    Delete "${ACCESO_INFORME}"
    Delete "${ACCESO_COMPROBAR}"
    Delete "${ACCESO_DESHACER}"
    Delete "${ACCESO_GUIA}"
    RMDir "${MENU}"
    !insertmacro QUITAR_ACCESOS_SUELTOS
SectionEnd

; Only what the installer put there goes: the folder is Tamberlo's, and so are its tables and
; Tamberlo.ini. The folder itself goes only when nothing else is left in it, and is not named
; in the list of what is done, where it would read as Tamberlo's folder removed.
Section "Uninstall"
    SetShellVarContext all
    Delete "$INSTDIR\pontavia.exe"
    Delete "$INSTDIR\pontavia-cli.exe"
    Delete "$INSTDIR\${DESINSTALADOR}"
    SetDetailsPrint none
    RMDir "$INSTDIR"
    SetDetailsPrint lastused
    DeleteRegKey HKLM "${CLAVE}"
SectionEnd
