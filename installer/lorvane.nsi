; Lorvane's installer, built by scripts/release.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.2.3.4 "-DCOPYRIGHT=..." -DSTAGE=folder
;            -DHELP_FILES=file.nsh -DOUTFILE=file lorvane.nsi
; STAGE holds lorvane.exe and help\ as they ship; HELP_FILES names the files in help\.
;
; A 64-bit installer for a 64-bit program: it installs into the 64-bit Program Files and
; writes its uninstall entry into the registry's 64-bit view. 32-bit Windows refuses to
; start it and names it by its file description, which says it needs 64-bit Windows.
; Earlier versions' 32-bit installer left its entry in the 32-bit view: an upgrade takes
; that copy's folder and removes the entry, so that Apps never lists Lorvane twice.
;
; The folder may hold other programs' files: only Lorvane's own are written or removed,
; by name, and a folder whose uninstall.exe is another program's is refused.
;
; The installer and uninstaller may run elevated as another account than the user who
; started them (a standard user typing an administrator's password), so they touch no
; user's profile: start at logon is a machine-wide Run value, and each user's settings
; and history are left to that user.
;
; Silent use:  setup.exe /S [/STARTUP] [/D=folder]    uninstall.exe /S
; Exit code 2: nothing was changed, because Lorvane was running or the folder holds
; another program's uninstall.exe.

Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!ifndef VERSION | COPYRIGHT | STAGE | HELP_FILES | OUTFILE
  !error "VERSION, COPYRIGHT, STAGE, HELP_FILES and OUTFILE must be defined (see scripts/release.sh)"
!endif

!define PRODUCT "Lorvane"
!define PUBLISHER "Ombrix"
!define EXE "lorvane.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The program's single-instance mutex.
!define MUTEX "Ombrix_LORVANE"
!define ERROR_REFUSED 2

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include "${HELP_FILES}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; An upgrade goes where the installed copy is, unless /D= says otherwise.
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"

!define MUI_ICON "..\res\lorvane.ico"
!define MUI_UNICON "..\res\lorvane.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_COMPONENTSPAGE_TEXT_TOP "$(ComponentsText)"
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "$(UninstallText)"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "English"

; The uninstaller carries these too: they tell Lorvane's uninstaller from another's.
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${PRODUCT} Setup (64-bit Windows)"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "${COPYRIGHT}"

LangString SectionProgram ${LANG_JAPANESE} "Lorvane (必須)"
LangString SectionProgram ${LANG_ENGLISH} "Lorvane (required)"
LangString SectionStartup ${LANG_JAPANESE} "ログオン時に起動する (すべてのユーザー)"
LangString SectionStartup ${LANG_ENGLISH} "Start at logon (every user)"
LangString ComponentsText ${LANG_JAPANESE} "設定と履歴は、ユーザーごとに %APPDATA%\Lorvane に保存されます。アンインストールしても残ります。不要になったら、各ユーザーがそのフォルダを削除してください。"
LangString ComponentsText ${LANG_ENGLISH} "Settings and history are kept for each user in that user's %APPDATA%\Lorvane. Uninstalling leaves them; each user can delete that folder to remove them."
LangString UninstallText ${LANG_JAPANESE} "Lorvane のプログラム、ショートカット、ログオン時の起動を削除します。設定と履歴 (各ユーザーの %APPDATA%\Lorvane) は残ります。不要なら、各ユーザーがそのフォルダを削除してください。"
LangString UninstallText ${LANG_ENGLISH} "This removes Lorvane's program, its shortcut and its start at logon. Settings and history (each user's %APPDATA%\Lorvane) stay; each user can delete that folder to remove them."
LangString RunningText ${LANG_JAPANESE} "Lorvane が実行中です。$\r$\n$\r$\n通知領域のアイコンのメニューから Lorvane を終了してから、[再試行] を押してください。"
LangString RunningText ${LANG_ENGLISH} "Lorvane is running.$\r$\n$\r$\nExit it from its icon's menu in the notification area, then press Retry."
LangString ForeignText ${LANG_JAPANESE} "$INSTDIR には、Lorvane のものではない ${UNINSTALLER} があります。$\r$\n$\r$\nほかのプログラムのファイルを上書きしないよう、このフォルダにはインストールしません。別のフォルダを選んでください。"
LangString ForeignText ${LANG_ENGLISH} "$INSTDIR holds an ${UNINSTALLER} that is not Lorvane's.$\r$\n$\r$\nLorvane is not installed there, so that another program's files are not overwritten. Choose another folder."

; The uninstall entry's name in Settings > Apps.
!define DISPLAY_NAME "${PRODUCT}"

; Where the installed copy is, from its uninstall entry in either view ("" when none).
Var InstalledDir
; True when that entry is the earlier 32-bit installer's.
Var InstalledEntry32

; Japanese on a Japanese system, English on any other.
!macro PickLanguage
  System::Call 'kernel32::GetUserDefaultUILanguage() i .r0'
  IntOp $0 $0 & 0x3FF
  ${If} $0 = 0x11
    StrCpy $LANGUAGE ${LANG_JAPANESE}
  ${Else}
    StrCpy $LANGUAGE ${LANG_ENGLISH}
  ${EndIf}
!macroend

; Waits until no Lorvane runs, asking the user to exit it. Jumps to CANCELLED when the user
; gives up or nobody can be asked; nothing has been touched by then.
!define WUNR_ID 0
!macro WaitUntilNotRunning CANCELLED
  !define /redef /math WUNR_ID ${WUNR_ID} + 1
  check_${WUNR_ID}:
    ; SYNCHRONIZE: enough to see that the mutex exists.
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${MUTEX}") p .r0'
    ${If} $0 P<> 0
      System::Call 'kernel32::CloseHandle(p r0)'
      IfSilent ${CANCELLED}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(RunningText)" /SD IDCANCEL IDRETRY check_${WUNR_ID}
      Goto ${CANCELLED}
    ${EndIf}
!macroend

!macro InstallHelpFile DIR NAME
  File "${STAGE}\help\${NAME}"
!macroend
!macro DeleteHelpFile DIR NAME
  Delete "${DIR}\help\${NAME}"
!macroend
; Adds the size of the file FILE, in bytes, to $2.
!macro AddFileSize FILE
  ClearErrors
  FileOpen $3 "${FILE}" r
  ${IfNot} ${Errors}
    FileSeek $3 0 END $4
    FileClose $3
    IntOp $2 $2 + $4
  ${EndIf}
!macroend
!macro AddHelpFileSize DIR NAME
  !insertmacro AddFileSize "${DIR}\help\${NAME}"
!macroend
; Every version so far shipped the same help files, so removing this version's names
; also removes an older version's.
!macro DeleteProgramFiles DIR
  Delete "${DIR}\${EXE}"
  !insertmacro LVN_HELP_FILES DeleteHelpFile "${DIR}"
  ; Kept while other programs' files are in it.
  RMDir "${DIR}\help"
  Delete "${DIR}\${UNINSTALLER}"
  RMDir "${DIR}"
!macroend

; $R1 = the string NAME of the version resource at $R2 in the language and code page
; $R7$R8, "" when it has none.
!macro VersionString NAME
  StrCpy $R1 ""
  StrCpy $R6 "\StringFileInfo\$R7$R8\${NAME}"
  System::Call 'version::VerQueryValueW(p R2, w R6, *p .R3, *i .R4) i .R5'
  ${If} $R5 <> 0
    System::Call 'kernel32::lstrcpynW(w .R1, p R3, i ${NSIS_MAX_STRLEN})'
  ${EndIf}
!macroend

; Sets $R0 to 1 when the file $R0 names carries the version resource of Lorvane's
; installers and of the uninstallers they write (ProductName and CompanyName, in the
; first language it lists), to 0 otherwise.
Function IsLorvanes
  Push $R1
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  Push $R6
  Push $R7
  Push $R8
  Push $R9
  StrCpy $R9 0
  System::Call 'version::GetFileVersionInfoSizeW(w R0, p 0) i .R1'
  ${If} $R1 > 0
    System::Alloc $R1
    Pop $R2
    System::Call 'version::GetFileVersionInfoW(w R0, i 0, i R1, p R2) i .R5'
    StrCpy $R6 "\VarFileInfo\Translation"
    ${If} $R5 <> 0
      System::Call 'version::VerQueryValueW(p R2, w R6, *p .R3, *i .R4) i .R5'
    ${EndIf}
    ${If} $R5 <> 0
    ${AndIf} $R4 >= 4
      System::Call '*$R3(&i2 .R7, &i2 .R8)'
      IntFmt $R7 "%04x" $R7
      IntFmt $R8 "%04x" $R8
      !insertmacro VersionString ProductName
      ${If} $R1 S== "${PRODUCT}"
        !insertmacro VersionString CompanyName
        ${If} $R1 S== "${PUBLISHER}"
          StrCpy $R9 1
        ${EndIf}
      ${EndIf}
    ${EndIf}
    System::Free $R2
  ${EndIf}
  StrCpy $R0 $R9
  Pop $R9
  Pop $R8
  Pop $R7
  Pop $R6
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
FunctionEnd

; Sets $R0 to 1 when $INSTDIR holds an uninstaller that is not Lorvane's.
Function IsTakenFolder
  StrCpy $R0 0
  ${If} ${FileExists} "$INSTDIR\${UNINSTALLER}"
    StrCpy $R0 "$INSTDIR\${UNINSTALLER}"
    Call IsLorvanes
    IntOp $R0 $R0 ^ 1
  ${EndIf}
FunctionEnd

Function DirectoryLeave
  Call IsTakenFolder
  ${If} $R0 = 1
    MessageBox MB_OK|MB_ICONSTOP "$(ForeignText)"
    Abort
  ${EndIf}
FunctionEnd

Section "$(SectionProgram)" SecProgram
  SectionIn RO
  ; Asked again: the program may have been started while the pages were shown.
  !insertmacro WaitUntilNotRunning install_cancelled
  ; Silent installs and /D= never saw the directory page.
  Call IsTakenFolder
  ${If} $R0 = 1
    MessageBox MB_OK|MB_ICONSTOP "$(ForeignText)" /SD IDOK
    Goto install_cancelled
  ${EndIf}
  Goto install_files
  install_cancelled:
    SetErrorLevel ${ERROR_REFUSED}
    Abort
  install_files:

  ; A copy installed elsewhere is moved here: one copy, one uninstall entry.
  StrCpy $R0 "$InstalledDir\${UNINSTALLER}"
  ${If} $InstalledDir != ""
  ${AndIf} $InstalledDir != $INSTDIR
  ${AndIf} ${FileExists} $R0
    Call IsLorvanes
    ${If} $R0 = 1
      !insertmacro DeleteProgramFiles $InstalledDir
    ${EndIf}
  ${EndIf}

  SetOutPath "$INSTDIR"
  File "${STAGE}\${EXE}"
  SetOutPath "$INSTDIR\help"
  !insertmacro LVN_HELP_FILES InstallHelpFile ""
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}"

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${DISPLAY_NAME}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  ; Lorvane's files only: the folder may be shared.
  StrCpy $2 0
  !insertmacro AddFileSize "$INSTDIR\${EXE}"
  !insertmacro AddFileSize "$INSTDIR\${UNINSTALLER}"
  !insertmacro LVN_HELP_FILES AddHelpFileSize "$INSTDIR"
  IntOp $2 $2 / 1024
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $2
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  ${If} $InstalledEntry32 == 1
    SetRegView 32
    DeleteRegKey HKLM "${UNINST_KEY}"
    SetRegView 64
  ${EndIf}
SectionEnd

; Machine-wide: the user who started setup may not be the account it runs as.
Section /o "$(SectionStartup)" SecStartup
  ; With its icon only, as a start at logon should.
  WriteRegStr HKLM "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\${EXE}" /tray'
SectionEnd

Section "-StartupChoice"
  ; Unticking the component on an upgrade takes start at logon away.
  ${IfNot} ${SectionIsSelected} ${SecStartup}
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
  ; Earlier versions started it from the installing user's Startup folder; the Run value
  ; does that now.
  SetShellVarContext current
  Delete "$SMSTARTUP\${PRODUCT}.lnk"
SectionEnd

; The installed copy's folder, from the 64-bit entry or else the earlier 32-bit one. An
; upgrade without /D= goes there (InstallDirRegKey reads only the 64-bit view).
!macro FindInstalledCopy
  StrCpy $InstalledEntry32 0
  SetRegView 64
  ReadRegStr $InstalledDir HKLM "${UNINST_KEY}" "InstallLocation"
  ${If} $InstalledDir == ""
    SetRegView 32
    ReadRegStr $InstalledDir HKLM "${UNINST_KEY}" "InstallLocation"
    SetRegView 64
    ${If} $InstalledDir != ""
      StrCpy $InstalledEntry32 1
      ${If} $INSTDIR == "$PROGRAMFILES64\${PRODUCT}"
        StrCpy $INSTDIR $InstalledDir
      ${EndIf}
    ${EndIf}
  ${EndIf}
!macroend

Function .onInit
  SetRegView 64
  !insertmacro PickLanguage
  !insertmacro WaitUntilNotRunning init_cancelled
  Goto init_running_checked
  init_cancelled:
    SetErrorLevel ${ERROR_REFUSED}
    Quit
  init_running_checked:
  !insertmacro FindInstalledCopy

  ; An upgrade keeps the logon choice made before (the Run value, or an earlier version's
  ; Startup shortcut); /STARTUP chooses it without pages.
  ReadRegStr $0 HKLM "${RUN_KEY}" "${PRODUCT}"
  SetShellVarContext current
  ${If} $0 != ""
  ${OrIf} ${FileExists} "$SMSTARTUP\${PRODUCT}.lnk"
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/STARTUP" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
FunctionEnd

Section "un.$(SectionProgram)" UnSecProgram
  SectionIn RO
  !insertmacro WaitUntilNotRunning uninstall_cancelled
  Goto uninstall_files
  uninstall_cancelled:
    SetErrorLevel ${ERROR_REFUSED}
    Abort
  uninstall_files:

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"

  ; The folder itself stays when other programs' files are in it.
  !insertmacro DeleteProgramFiles $INSTDIR

  DeleteRegKey HKLM "${UNINST_KEY}"
  ; An entry the earlier 32-bit installer left, should an upgrade have missed it.
  SetRegView 32
  DeleteRegKey HKLM "${UNINST_KEY}"
  SetRegView 64
SectionEnd

Function un.onInit
  SetRegView 64
  !insertmacro PickLanguage
  !insertmacro WaitUntilNotRunning un_init_cancelled
  Return
  un_init_cancelled:
    SetErrorLevel ${ERROR_REFUSED}
    Quit
FunctionEnd
