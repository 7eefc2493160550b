; Qorvic's per-user installer. No administrator rights: the program goes under
; the user's local programs folder, its data (language files, the converter and
; its settings folder) under %APPDATA%\Qorvic, where the program looks for them.
; The build passes the paths of what it packs:
;   QORVIC_EXE, CONVERTER_EXE, LANG_DIR, INI_FILE, ICON_FILE, OUT_FILE, VERSION

Unicode true
!include WinMessages.nsh
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestSupportedOS all

!define PRODUCT "Qorvic"
!define PUBLISHER "Brimlow"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Qorvic"
!define DATA_DIR "$APPDATA\Qorvic"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
Icon "${ICON_FILE}"
UninstallIcon "${ICON_FILE}"
; An update goes where the last install went.
InstallDir "$LOCALAPPDATA\Programs\Qorvic"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The eight language files, the same list for installing and removing.
!macro ForEachLanguage MACRO
  !insertmacro ${MACRO} Dutch
  !insertmacro ${MACRO} English
  !insertmacro ${MACRO} French
  !insertmacro ${MACRO} German
  !insertmacro ${MACRO} Japanese
  !insertmacro ${MACRO} Polish
  !insertmacro ${MACRO} Russian
  !insertmacro ${MACRO} Spanish
!macroend
!macro InstallLanguage NAME
  File "${LANG_DIR}/Qorvic_${NAME}.Language"
!macroend
!macro RemoveLanguage NAME
  Delete "${DATA_DIR}\Languages\Qorvic_${NAME}.Language"
!macroend

; A running Qorvic holds its .exe open, so Windows would refuse to replace or
; remove it. Closing its frame is the program's own way to end: it writes its
; settings first. Waits up to 10 s for it to go.
!macro CloseRunningQorvic UN
Function ${UN}CloseRunningQorvic
  FindWindow $0 "QorvicFrame"
  StrCmp $0 0 done
  MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Qorvic is running and will be closed." /SD IDOK IDOK close
  Abort
close:
  SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
  StrCpy $1 0
again:
  Sleep 100
  FindWindow $0 "QorvicFrame"
  StrCmp $0 0 done
  IntOp $1 $1 + 1
  IntCmp $1 100 0 again
  MessageBox MB_OK|MB_ICONSTOP "Qorvic could not be closed. Close it and try again." /SD IDOK
  Abort
done:
FunctionEnd
!macroend
!insertmacro CloseRunningQorvic ""
!insertmacro CloseRunningQorvic "un."

Function .onInit
  SetShellVarContext current
  Call CloseRunningQorvic
FunctionEnd

Function un.onInit
  SetShellVarContext current
  Call un.CloseRunningQorvic
FunctionEnd

Section "Qorvic"
  ; Every file is replaced, so installing over an older version updates it.
  SetOverwrite on
  SetOutPath "$INSTDIR"
  File "/oname=qorvic.exe" "${QORVIC_EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetOutPath "${DATA_DIR}\Languages"
  !insertmacro ForEachLanguage InstallLanguage

  SetOutPath "${DATA_DIR}"
  File "/oname=i__view32.exe" "${CONVERTER_EXE}"

  ; The converter's settings are the user's once installed: an update keeps them.
  SetOutPath "${DATA_DIR}\ini"
  SetOverwrite off
  File "/oname=i_view32.ini" "${INI_FILE}"
  SetOverwrite on

  ; The shortcut starts the program in its own folder.
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\Qorvic.lnk" "$INSTDIR\qorvic.exe" "" "$INSTDIR\qorvic.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\qorvic.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\qorvic.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Qorvic.lnk"

  !insertmacro ForEachLanguage RemoveLanguage
  ; Language files the user added stay, and so does their folder.
  RMDir "${DATA_DIR}\Languages"
  Delete "${DATA_DIR}\i__view32.exe"
  Delete "${DATA_DIR}\ini\i_view32.ini"
  RMDir "${DATA_DIR}\ini"
  ; The program's scratch picture; the settings file Qorvic.cfg stays, and
  ; with it the data folder.
  Delete "${DATA_DIR}\Temp.bmp"
  RMDir "${DATA_DIR}"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
