; The setup program of the Ravelgard Startup Wizard: ravelgard-setup.exe.
; Installs the wizard, the support tool and the language file into the Ravelgard folder under
; the 32-bit Program Files folder (where the 32-bit firewall lives, so that the wizard's Profiles
; folder is the firewall's), prepares the password file and its registry key as
; "ravelgard-tool.exe install" does (never overwriting an existing password file), adds a
; Start-menu entry and registers an uninstaller. /S installs and uninstalls silently.
;
; makensis -DBUILD_DIR=<the windows build folder> -DSOURCE_DIR=<the sources> -DOUT_FILE=<setup>
Unicode true
!include "LogicLib.nsh"
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Ravelgard Startup Wizard"
!define PUBLISHER "Ravelgard"
!define VERSION "1.0.0"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\RavelgardStartupWizard"

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
; The 32-bit Program Files folder ("Program Files (x86)" on 64-bit Windows), where the 32-bit
; firewall lives; on a 32-bit Windows the only Program Files folder.
InstallDir "$PROGRAMFILES\Ravelgard"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "1.0.0.0"
VIAddVersionKey "ProductName" "Ravelgard Personal Firewall"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) Ravelgard"

Function .onInit
  SetRegView 64
  ReadRegStr $0 HKLM "Software\Microsoft\Windows\CurrentVersion" "ProgramFilesDir (x86)"
  SetRegView lastused
  ${If} $0 != ""
    StrCpy $INSTDIR "$0\Ravelgard"
  ${EndIf}
FunctionEnd

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
  SetShellVarContext all
  SetRegView 32
  SetOutPath "$INSTDIR"
  File "${BUILD_DIR}\app\win32\ravelgard-wizard.exe"
  File "${BUILD_DIR}\tools\ravelgard-tool.exe"
  SetOutPath "$INSTDIR\Lang"
  File "${SOURCE_DIR}\app\Lang\English.INI"
  SetOutPath "$INSTDIR"

  ; The password file of a fresh installation and the key of the password store. The tool
  ; refuses, with exit code 1, to overwrite a password file that is already there.
  nsExec::ExecToLog '"$INSTDIR\ravelgard-tool.exe" install'
  Pop $0
  ${If} $0 == 1
    DetailPrint "The existing password file is kept."
  ${ElseIf} $0 != 0
    DetailPrint "ravelgard-tool install failed with exit code $0."
  ${EndIf}

  CreateDirectory "$SMPROGRAMS\Ravelgard"
  CreateShortcut "$SMPROGRAMS\Ravelgard\${PRODUCT}.lnk" "$INSTDIR\ravelgard-wizard.exe"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ravelgard-wizard.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  SetRegView 32
  Delete "$INSTDIR\ravelgard-wizard.exe"
  Delete "$INSTDIR\ravelgard-tool.exe"
  Delete "$INSTDIR\Lang\English.INI"
  RMDir "$INSTDIR\Lang"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\Ravelgard\${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\Ravelgard"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; What the firewall reads stays: the Profiles folder, the password file and its registry value
  ; (and the error log, when the wizard wrote one). The folder goes only when nothing is left.
  RMDir "$INSTDIR"
  DetailPrint "Kept the firewall's settings: the Profiles folder, the password file and its registry value."
  MessageBox MB_OK|MB_ICONINFORMATION "${PRODUCT} was removed. The firewall's settings were kept: the Profiles folder in $INSTDIR, the password file RVPSD.SYS in the system folder and its registry value." /SD IDOK
SectionEnd
