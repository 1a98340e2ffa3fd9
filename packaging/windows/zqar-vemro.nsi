; Installer for Windows, made by scripts/build-windows.sh:
;   makensis -DVERSION=1.3 -DSTAGE=<folder with the program> -DOUTFILE=<setup.exe> zqar-vemro.nsi
; Installs for all users under Program Files, adds a Start-menu entry, opens .ttr reports and
; .ttp projects with the program (with its icon) and registers the uninstaller.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "x64.nsh"

!define NAME "Z-QAR Vemro"
!define EXE "zqar-vemro.exe"
!define ICON "zqar-vemro.ico"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZQARVemro"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${NAME}"
InstallDirRegKey HKLM "Software\ZQARVemro" "InstallDir"

!define MUI_ICON "${STAGE}\${ICON}"
!define MUI_UNICON "${STAGE}\${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A file type: its extension, class name and description, opened by the program.
!macro FileType EXT CLASS DESCRIPTION
    WriteRegStr HKLM "Software\Classes\.${EXT}" "" "${CLASS}"
    WriteRegStr HKLM "Software\Classes\${CLASS}" "" "${DESCRIPTION}"
    WriteRegStr HKLM "Software\Classes\${CLASS}\DefaultIcon" "" "$INSTDIR\${ICON},0"
    WriteRegStr HKLM "Software\Classes\${CLASS}\shell\open\command" "" '"$INSTDIR\${EXE}" "%1"'
!macroend

!macro RemoveFileType EXT CLASS
    ReadRegStr $0 HKLM "Software\Classes\.${EXT}" ""
    StrCmp $0 "${CLASS}" 0 +2
    DeleteRegKey HKLM "Software\Classes\.${EXT}"
    DeleteRegKey HKLM "Software\Classes\${CLASS}"
!macroend

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "${NAME} needs 64-bit Windows."
        Abort
    ${EndIf}
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Install"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${ICON}" 0

    !insertmacro FileType "ttr" "ZQARVemro.Report" "Z-QAR Vemro report"
    !insertmacro FileType "ttp" "ZQARVemro.Project" "Z-QAR Vemro project"
    ; Tell Explorer the file types changed.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    WriteRegStr HKLM "Software\ZQARVemro" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${ICON}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\${NAME}.lnk"
    !insertmacro RemoveFileType "ttr" "ZQARVemro.Report"
    !insertmacro RemoveFileType "ttp" "ZQARVemro.Project"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\ZQARVemro"
    ; Only what the installer put there: the program's folder as it was shipped.
    RMDir /r "$INSTDIR\platforms"
    RMDir /r "$INSTDIR\styles"
    RMDir /r "$INSTDIR\imageformats"
    RMDir /r "$INSTDIR\samples"
    Delete "$INSTDIR\*.exe"
    Delete "$INSTDIR\*.dll"
    Delete "$INSTDIR\*.hlp"
    Delete "$INSTDIR\*.png"
    Delete "$INSTDIR\*.ico"
    Delete "$INSTDIR\README.txt"
    RMDir "$INSTDIR"
SectionEnd
