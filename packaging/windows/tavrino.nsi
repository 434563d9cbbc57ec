; The Windows installer of Tavrino (a 64-bit, Unicode installer): tavrino.exe into Program Files, a Start-menu shortcut, an uninstaller.
; makensis -DVERSION=<a.b.c.d> -DEXE=<path to tavrino.exe> -DOUT=<installer.exe> tavrino.nsi
Target amd64-unicode
!include "x64.nsh"

Name "Tavrino"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES64\Tavrino"
InstallDirRegKey HKLM "Software\Tavrino" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "Tavrino"
VIAddVersionKey "FileDescription" "Tavrino installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Tavrino"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrino"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "Tavrino needs 64-bit Windows."
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Tavrino"
  SetOutPath "$INSTDIR"
  File "/oname=tavrino.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Tavrino.lnk" "$INSTDIR\tavrino.exe"
  WriteRegStr HKLM "Software\Tavrino" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tavrino"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tavrino.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Tavrino.lnk"
  Delete "$INSTDIR\tavrino.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\Tavrino"
SectionEnd
