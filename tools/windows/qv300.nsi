; SPDX-License-Identifier: GPL-3.0-or-later
; The setup program of QV-300 for 64-bit Windows, made by tools/windows/package.sh:
;   makensis -DVERSION=0.1.0 -DSTAGE=<folder> -DLISTS=<folder> -DOUTFILE=<setup.exe> qv300.nsi
; STAGE is the folder of the portable zip; LISTS holds the two file lists
; package.sh writes from it (install.nsh, uninstall.nsh) and the Chinese
; default settings (SysInfo-Chinese.Ini), so the uninstaller removes exactly
; the files the setup put there and nothing the user made.
;
; Silent: setup.exe /S [/LANG=2052] [/D=C:\Other\Folder], uninstall.exe /S.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define NAME "QV-300"
!define PUBLISHER "QV-300 programming software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QV-300"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\QV-300"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${NAME} ${VERSION}"

; The language asked at the start is kept for the uninstaller in the
; programs' own key, which the uninstaller removes.
!define MUI_LANGDLL_REGISTRY_ROOT HKLM
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "InstallerLanguage"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\qv300.exe"

!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_RESERVEFILE_LANGDLL

LangString GuideName ${LANG_ENGLISH} "QV-300 User Guide"
LangString GuideName ${LANG_SIMPCHINESE} "QV-300 使用说明"
LangString UninstallName ${LANG_ENGLISH} "Uninstall QV-300"
LangString UninstallName ${LANG_SIMPCHINESE} "卸载 QV-300"

Function .onInit
  ; /LANG=1033 or /LANG=2052 chooses the language without the dialog, also
  ; for a silent install, which otherwise follows the system's language.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/LANG=" $1
  ${If} ${Errors}
    !insertmacro MUI_LANGDLL_DISPLAY
  ${Else}
    StrCpy $LANGUAGE $1
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

Section "QV-300"
  SetShellVarContext all
  !include "${LISTS}\install.nsh"
  ; The program starts in the language chosen here: its default settings
  ; then name Chinese (Language_ID=1), byte for byte the shipped file else.
  ${If} $LANGUAGE == ${LANG_SIMPCHINESE}
    SetOutPath "$INSTDIR"
    File "/oname=SysInfo.Ini" "${LISTS}\SysInfo-Chinese.Ini"
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The guide in the chosen language: the compiled help when the build made
  ; one, the HTML pages otherwise.
  ${If} $LANGUAGE == ${LANG_SIMPCHINESE}
    StrCpy $1 "$INSTDIR\_Chinese.chm"
    StrCpy $2 "$INSTDIR\help\zh\index.html"
  ${Else}
    StrCpy $1 "$INSTDIR\_English.chm"
    StrCpy $2 "$INSTDIR\help\en\index.html"
  ${EndIf}
  ${IfNot} ${FileExists} $1
    StrCpy $1 $2
  ${EndIf}
  CreateDirectory "$SMPROGRAMS\QV-300"
  CreateShortcut "$SMPROGRAMS\QV-300\QV-300.lnk" "$INSTDIR\qv300.exe"
  CreateShortcut "$SMPROGRAMS\QV-300\$(GuideName).lnk" $1
  CreateShortcut "$SMPROGRAMS\QV-300\$(UninstallName).lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\qv300.exe,0"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes the files of the list and then each folder of it that is empty:
; what the user keeps in the program's folder, and the settings, backups
; and fleet logs in the user's own folders, stay.
Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\QV-300\QV-300.lnk"
  ; Both languages' names: the uninstaller may run in the other one.
  Delete "$SMPROGRAMS\QV-300\QV-300 User Guide.lnk"
  Delete "$SMPROGRAMS\QV-300\QV-300 使用说明.lnk"
  Delete "$SMPROGRAMS\QV-300\Uninstall QV-300.lnk"
  Delete "$SMPROGRAMS\QV-300\卸载 QV-300.lnk"
  RMDir "$SMPROGRAMS\QV-300"
  !include "${LISTS}\uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
