; The Zelmar installer: Chinese pages, Program Files, a Start-menu entry, an
; uninstaller registered under Add/Remove Programs. /S installs (and, for
; the uninstaller, removes) without a question. The user's rule files live
; in %LOCALAPPDATA%\Zelmar, which neither installing nor removing touches;
; removing deletes only the files the installer put down.
;
; makensis -DVERSION=1.0 -DSOURCE=<folder to install> -DFILES=<file list .nsh>
;          -DICON=<zelmar.ico> -DLICENSE=<licence text> -DOUTFILE=<setup.exe> installer.nsi
; (scripts/package-windows.sh does this.)

; A 64-bit installer for the 64-bit program (it also runs where no 32-bit
; subsystem is installed, as in a 64-bit-only wine).
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"
!include "x64.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelmar"

Name "Zelmar ${VERSION}"
Caption "Zelmar ${VERSION} 安装程序"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Zelmar"
InstallDirRegKey HKLM "Software\Zelmar" "InstallDir"
RequestExecutionLevel admin
BrandingText "Quorin 策略论坛"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=2052 "ProductName" "Zelmar"
VIAddVersionKey /LANG=2052 "CompanyName" "Quorin 策略论坛"
VIAddVersionKey /LANG=2052 "FileDescription" "Zelmar 注码计算器安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Copyright © 2026 Quorin 策略论坛"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "这个向导将把 Zelmar ${VERSION} 安装到您的电脑上。$\r$\n$\r$\nZelmar 是一个注码计算器：按赢的数列和输的表，算出每一手该下多少注。$\r$\n$\r$\n您的规则文件放在 %LOCALAPPDATA%\Zelmar，第一次运行时放入示例规则；安装和卸载都不会改动它们。"
!define MUI_FINISHPAGE_RUN "$INSTDIR\zelmar.exe"
!define MUI_FINISHPAGE_RUN_TEXT "运行 Zelmar"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\使用说明.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "查看使用说明"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "Zelmar 需要 64 位的 Windows。" /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Zelmar"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${SOURCE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\Zelmar"
    CreateShortcut "$SMPROGRAMS\Zelmar\Zelmar.lnk" "$INSTDIR\zelmar.exe"
    CreateShortcut "$SMPROGRAMS\Zelmar\Zelmar 策略分析.lnk" "$INSTDIR\zelmar-analysis.exe"
    CreateShortcut "$SMPROGRAMS\Zelmar\使用说明.lnk" "$INSTDIR\使用说明.txt"
    CreateShortcut "$SMPROGRAMS\Zelmar\卸载 Zelmar.lnk" "$INSTDIR\uninstall.exe"

    WriteRegStr HKLM "Software\Zelmar" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Zelmar ${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Quorin 策略论坛"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zelmar.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://quorin.example/"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    ; Exactly the installed files, then the folders if they are empty: a
    ; file the user put into the program's folder stays, and so does the
    ; rule folder in %LOCALAPPDATA%.
    !include "${FILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\Zelmar\Zelmar.lnk"
    Delete "$SMPROGRAMS\Zelmar\Zelmar 策略分析.lnk"
    Delete "$SMPROGRAMS\Zelmar\使用说明.lnk"
    Delete "$SMPROGRAMS\Zelmar\卸载 Zelmar.lnk"
    RMDir "$SMPROGRAMS\Zelmar"

    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\Zelmar"
SectionEnd
