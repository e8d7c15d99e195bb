; The Windows installer: the programs in Program Files, two Start Menu entries
; that start the monitor in the user's own data folder and one for the guide,
; and an uninstaller. The simulated module's DLL lies only beside the copy of the
; monitor that the simulated entry starts, so a driver library the user
; installed stays the one the plain entry loads.
;
; makensis -DVERSION=x.y -DPUBLISHER=<who> -DBIN_DIR=<built programs>
;          -DSOURCE_DIR=<source tree> -DICON_FILE=<tqxfft.ico> -DOUT_FILE=<setup.exe>
;          tqxfft.nsi

Unicode true
; A 64-bit installer: Debian's Wine runs only 64-bit programs, and the
; programs it installs are 64-bit anyway.
Target amd64-unicode
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

Name "tqxfft ${VERSION}"
OutFile "${OUT_FILE}"
Icon "${ICON_FILE}"
UninstallIcon "${ICON_FILE}"
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
  File "${SOURCE_DIR}\docs\images\*.svg"

  ; Shortcuts take their working folder from the output path; the launcher
  ; changes into the user's data folder itself.
  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\tqxfft"
  CreateShortCut "$SMPROGRAMS\tqxfft\tqxfft.lnk" "$INSTDIR\tqxfft-launch.exe" "" "$INSTDIR\tqxfft.exe" 0
  CreateShortCut "$SMPROGRAMS\tqxfft\tqxfft (simulated module).lnk" "$INSTDIR\tqxfft-launch.exe" "--simulated" "$INSTDIR\tqxfft.exe" 0
  CreateShortCut "$SMPROGRAMS\tqxfft\tqxfft user's guide.lnk" "$INSTDIR\doc\guide.md"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "Software\tqxfft" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "tqxfft"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tqxfft.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KiB, as Apps & features reads it.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Windows keeps a running program's file from being opened for writing, and
; from being removed: $R0 gets FILE's name when it exists and is held so.
!macro HeldFile FILE
  ${If} ${FileExists} "${FILE}"
    ClearErrors
    FileOpen $R1 "${FILE}" a
    ${If} ${Errors}
      StrCpy $R0 "${FILE}"
    ${Else}
      FileClose $R1
    ${EndIf}
  ${EndIf}
!macroend

; Nothing is removed while one of the programs runs: the user is asked to
; close them, and an uninstall that is cancelled (or silent) ends with exit
; code 2 and leaves the install whole.
Function un.WaitForProgramsClosed
  check:
    StrCpy $R0 ""
    !insertmacro HeldFile "$INSTDIR\tqxfft.exe"
    !insertmacro HeldFile "$INSTDIR\tqxfft-launch.exe"
    !insertmacro HeldFile "$INSTDIR\tqxdata.exe"
    !insertmacro HeldFile "$INSTDIR\tqxscan.exe"
    !insertmacro HeldFile "$INSTDIR\simulated\tqxfft.exe"
    !insertmacro HeldFile "$INSTDIR\simulated\Ftd2xx.dll"
    StrCmp $R0 "" 0 +2
      Return
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "tqxfft is still running ($R0 is in use).$\r$\n$\r$\nClose every tqxfft window and tool, then choose Retry." /SD IDCANCEL IDRETRY check
    SetErrorLevel 2
    Quit
FunctionEnd

Function un.onInit
  Call un.WaitForProgramsClosed
FunctionEnd

; The users' data folders hold their setups and are never removed.
Section "Uninstall"
  SetRegView 64
  SetShellVarContext all
  ; Asked again: a program may have been started since the confirmation.
  Call un.WaitForProgramsClosed

  Delete "$SMPROGRAMS\tqxfft\tqxfft.lnk"
  Delete "$SMPROGRAMS\tqxfft\tqxfft (simulated module).lnk"
  Delete "$SMPROGRAMS\tqxfft\tqxfft user's guide.lnk"
  RMDir "$SMPROGRAMS\tqxfft"

  ; A file that something else still holds goes at the next restart rather
  ; than stay behind with no uninstaller to remove it.
  Delete /REBOOTOK "$INSTDIR\doc\images\*.png"
  Delete /REBOOTOK "$INSTDIR\doc\images\*.svg"
  RMDir /REBOOTOK "$INSTDIR\doc\images"
  Delete /REBOOTOK "$INSTDIR\doc\guide.md"
  RMDir /REBOOTOK "$INSTDIR\doc"
  Delete /REBOOTOK "$INSTDIR\simulated\tqxfft.exe"
  Delete /REBOOTOK "$INSTDIR\simulated\Ftd2xx.dll"
  RMDir /REBOOTOK "$INSTDIR\simulated"
  Delete /REBOOTOK "$INSTDIR\tqxfft.exe"
  Delete /REBOOTOK "$INSTDIR\tqxdata.exe"
  Delete /REBOOTOK "$INSTDIR\tqxscan.exe"
  Delete /REBOOTOK "$INSTDIR\tqxfft-launch.exe"
  Delete /REBOOTOK "$INSTDIR\LICENSE.txt"
  Delete /REBOOTOK "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\tqxfft"
  IfRebootFlag 0 +2
    MessageBox MB_OK|MB_ICONINFORMATION "Some files of tqxfft are in use and will be removed when Windows restarts." /SD IDOK
SectionEnd
