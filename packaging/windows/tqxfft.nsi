; The Windows installer: the programs in Program Files, two Start Menu entries
; that start the monitor in the user's own data folder, the guide, and an
; uninstaller. The simulated module's DLL lies only beside the copy of the
; monitor that the simulated entry starts, so a driver library the user
; installed stays the one the plain entry loads.
;
; makensis -DVERSION=x.y -DBIN_DIR=<built programs> -DSOURCE_DIR=<source tree>
;          -DOUT_FILE=<setup.exe> tqxfft.nsi

Unicode true
; A 64-bit installer: Debian's Wine runs only 64-bit programs, and the
; programs it installs are 64-bit anyway.
Target amd64-unicode
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "x64.nsh"

Name "tqxfft ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\tqxfft"
InstallDirRegKey HKLM "Software\tqxfft" "InstallDir"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\tqxfft"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "tqxfft"
  SetRegView 64
  SetShellVarContext all

  SetOutPath "$INSTDIR"
  File "${BIN_DIR}\app\tqxfft.exe"
  File "${BIN_DIR}\tools\tqxdata\tqxdata.exe"
  File "${BIN_DIR}\tools\tqxscan\tqxscan.exe"
  File "${BIN_DIR}\packaging\windows\tqxfft-launch.exe"
  File "/oname=LICENSE.txt" "${SOURCE_DIR}\LICENSE"

  SetOutPath "$INSTDIR\simulated"
  File "${BIN_DIR}\app\tqxfft.exe"
  File "${BIN_DIR}\sim\lib\Ftd2xx.dll"

  SetOutPath "$INSTDIR\doc"
  File "${SOURCE_DIR}\docs\guide.md"
  SetOutPath "$INSTDIR\doc\images"
  File "${SOURCE_DIR}\docs\images\*.png"

  ; Shortcuts take their working folder from the output path; the launcher
  ; changes into the user's data folder itself.
  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\tqxfft"
  CreateShortCut "$SMPROGRAMS\tqxfft\tqxfft.lnk" "$INSTDIR\tqxfft-launch.exe" "" "$INSTDIR\tqxfft.exe" 0
  CreateShortCut "$SMPROGRAMS\tqxfft\tqxfft (simulated module).lnk" "$INSTDIR\tqxfft-launch.exe" "--simulated" "$INSTDIR\tqxfft.exe" 0

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "Software\tqxfft" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "tqxfft"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tqxfft.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The users' data folders hold their setups and are never removed.
Section "Uninstall"
  SetRegView 64
  SetShellVarContext all

  Delete "$SMPROGRAMS\tqxfft\tqxfft.lnk"
  Delete "$SMPROGRAMS\tqxfft\tqxfft (simulated module).lnk"
  RMDir "$SMPROGRAMS\tqxfft"

  Delete "$INSTDIR\doc\images\*.png"
  RMDir "$INSTDIR\doc\images"
  Delete "$INSTDIR\doc\guide.md"
  RMDir "$INSTDIR\doc"
  Delete "$INSTDIR\simulated\tqxfft.exe"
  Delete "$INSTDIR\simulated\Ftd2xx.dll"
  RMDir "$INSTDIR\simulated"
  Delete "$INSTDIR\tqxfft.exe"
  Delete "$INSTDIR\tqxdata.exe"
  Delete "$INSTDIR\tqxscan.exe"
  Delete "$INSTDIR\tqxfft-launch.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\tqxfft"
SectionEnd
