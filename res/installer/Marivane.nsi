; The setup program of Marivane, made by the build (cmake/Release.cmake):
;   makensis -DVERSION=<version> -DFILES_DIR=<the release's files> -DFILE_LIST=<files.nsh>
;            -DOUTFILE=<Marivane-<version>-setup.exe> Marivane.nsi
; For one player by default (no administrator), for all users with /ALLUSERS;
; /LOCKCONSOLE writes the configuration that locks the puzzle console beside the
; program. It installs and removes the program files only: the player's puzzles,
; scores and configuration outlive every upgrade and, unless the player asks, the
; uninstall.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include WinMessages.nsh
!include "${FILE_LIST}"

!define PUBLISHER "Marivane developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Marivane"
!define GAME_CLASS "Marivane"   ; the class of the game's main window

Name "Marivane"
Caption "Marivane ${VERSION} Setup"
UninstallCaption "Marivane ${VERSION} Uninstall"
BrandingText "Marivane ${VERSION}"
OutFile "${OUTFILE}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 ProductName "Marivane"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileDescription "Marivane ${VERSION} Setup"
VIAddVersionKey /LANG=1033 CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=1033 LegalCopyright "Copyright (C) ${PUBLISHER}"

Var AllUsers      ; 1: Program Files, the machine's keys, every player's Start menu
Var LockConsole   ; 1: write the locking MVC_CONFIG.INI beside the program
Var ChosenDir     ; the folder given with /D, else empty
Var PlayerFolder  ; the player's own %LOCALAPPDATA%\Marivane
Var RemoveData    ; uninstall: 1 when the player asked to remove their files too
Var Dialog
Var AllUsersButton
Var LockBox
Var RemoveBox

!define MUI_ICON "${__FILEDIR__}/../icons/marivane.ico"
!define MUI_UNICON "${__FILEDIR__}/../icons/marivane.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${__FILEDIR__}/../bitmaps/balloons_7.bmp"
!define MUI_WELCOMEFINISHPAGE_BITMAP_NOSTRETCH
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "Marivane ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "A circus letter-guessing game for two players.$\r$\n$\r$\nThis installs Marivane ${VERSION}. Installed over an older Marivane, it replaces the program and keeps every puzzle, score and setting.$\r$\n$\r$\nIf Marivane is running, quit it first.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
Page custom ModePage ModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Marivane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Marivane"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.KeepPage un.KeepPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; ---- Shared by the setup program and the uninstaller ----

; The install for all users needs an administrator; says so and ends when there is none.
!macro NEED_ADMINISTRATOR_FOR_ALL_USERS
  ${If} $AllUsers == 1
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP "Marivane for all users of this computer needs an administrator: start this program with $\"Run as administrator$\"." /SD IDOK
      SetErrorLevel 740
      Quit
    ${EndIf}
  ${EndIf}
!macroend

!macro SET_SHELL_CONTEXT
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
!macroend

; A running game holds its program file: replacing or removing the files under
; it would leave a folder of two versions. Asks the player to quit it, or ends.
!macro WAIT_FOR_THE_GAME_TO_CLOSE UN
  Function ${UN}GameIsRunning
    FindWindow $0 "${GAME_CLASS}"
    ${If} $0 <> 0
      Push 1
      Return
    ${EndIf}
    ${IfNot} ${FileExists} "$INSTDIR\Marivane.exe"
      Push 0
      Return
    ${EndIf}
    ClearErrors
    FileOpen $0 "$INSTDIR\Marivane.exe" a
    ${If} ${Errors}
      Push 1
      Return
    ${EndIf}
    FileClose $0
    Push 0
  FunctionEnd

  Function ${UN}WaitForTheGameToClose
    retry:
    Call ${UN}GameIsRunning
    Pop $0
    ${If} $0 == 1
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Marivane is running. Quit it (it saves your puzzles and scores as it closes), then click Retry." /SD IDCANCEL IDRETRY retry
      DetailPrint "Marivane is running: nothing was changed."
      SetErrorLevel 3
      Quit
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro WAIT_FOR_THE_GAME_TO_CLOSE ""
!insertmacro WAIT_FOR_THE_GAME_TO_CLOSE "un."

; The player's own folder, which the game uses where it may not write beside itself.
!macro FIND_PLAYER_FOLDER
  SetShellVarContext current
  StrCpy $PlayerFolder "$LOCALAPPDATA\Marivane"
  !insertmacro SET_SHELL_CONTEXT
!macroend

; ---- The setup program ----

Function .onInit
  ${GetParameters} $R0
  StrCpy $AllUsers 0
  StrCpy $LockConsole 0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/CURRENTUSER" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 0
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/LOCKCONSOLE" $R1
  ${IfNot} ${Errors}
    StrCpy $LockConsole 1
  ${EndIf}
  StrCpy $ChosenDir $INSTDIR
  Call UseMode
  ${If} ${Silent}
    !insertmacro NEED_ADMINISTRATOR_FOR_ALL_USERS
  ${EndIf}
FunctionEnd

; The folder and the keys of the chosen mode; an earlier install's folder is kept.
Function UseMode
  !insertmacro SET_SHELL_CONTEXT
  ${If} $ChosenDir != ""
    StrCpy $INSTDIR $ChosenDir
    Return
  ${EndIf}
  ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $INSTDIR != ""
    Return
  ${ElseIf} $AllUsers == 1
    StrCpy $INSTDIR "$PROGRAMFILES64\Marivane"
  ${Else}
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Marivane"
  ${EndIf}
FunctionEnd

Function ModePage
  !insertmacro MUI_HEADER_TEXT "Who plays Marivane here?" "Install it for yourself, or for every player of this computer."
  nsDialogs::Create 1018
  Pop $Dialog
  ${NSD_CreateRadioButton} 0 0 100% 12u "Just for me (no administrator needed)"
  Pop $0
  ${NSD_CreateRadioButton} 0 16u 100% 12u "For all users of this computer (needs an administrator)"
  Pop $AllUsersButton
  ${NSD_CreateCheckBox} 12u 32u -12u 12u "Lock the puzzle console for every player"
  Pop $LockBox
  ${NSD_CreateLabel} 0 52u 100% 60u "For all users, Marivane goes into Program Files, and every player's puzzles and scores into their own %LOCALAPPDATA%\Marivane. For one player it goes into %LOCALAPPDATA%\Programs\Marivane, and the puzzles and scores stay beside it."
  Pop $1
  ${If} $AllUsers == 1
    ${NSD_Check} $AllUsersButton
  ${Else}
    ${NSD_Check} $0
  ${EndIf}
  ${If} $LockConsole == 1
    ${NSD_Check} $LockBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $AllUsersButton $0
  StrCpy $AllUsers 0
  ${IfThen} $0 == ${BST_CHECKED} ${|} StrCpy $AllUsers 1 ${|}
  ${NSD_GetState} $LockBox $0
  StrCpy $LockConsole 0
  ${IfThen} $0 == ${BST_CHECKED} ${|} StrCpy $LockConsole 1 ${|}
  ${If} $AllUsers == 1
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
      MessageBox MB_OK|MB_ICONEXCLAMATION "Installing for all users needs an administrator: close this and start it again with $\"Run as administrator$\", or install just for yourself."
      Abort
    ${EndIf}
  ${EndIf}
  Call UseMode
FunctionEnd

; Started from a setup for all users, the game would run as the administrator
; and keep its files in Program Files: no offer to start it then.
Function FinishPageShow
  ${If} $AllUsers == 1
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

!macro INSTALL_FILE NAME
  File "${FILES_DIR}/${NAME}"
!macroend

; The configuration the game writes when it finds none, as the C runtime writes text on Windows.
Function WriteLockingConfiguration
  FileOpen $0 "$INSTDIR\MVC_CONFIG.INI" w
  FileWrite $0 "Disable_Console= 1$\r$\nDisable_VCCntls= 1$\r$\n$\r$\n"
  FileWrite $0 "//To Enable Edit Cntls:  set value(s) to '0'$\r$\n//Editing this file incorrectly, or removing$\r$\n"
  FileWrite $0 "//content may result in program failure.  If$\r$\n//proper file format is lost, delete file..."
  FileClose $0
FunctionEnd

Function WriteUninstallEntry
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Marivane"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Marivane.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
FunctionEnd

Section "Marivane"
  Call WaitForTheGameToClose
  SetOutPath "$INSTDIR"
  !insertmacro ProgramFiles INSTALL_FILE
  ${If} $LockConsole == 1
    Call WriteLockingConfiguration
  ${EndIf}
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Marivane.lnk" "$INSTDIR\Marivane.exe" "" "$INSTDIR\Marivane.exe" 0
  Call WriteUninstallEntry
SectionEnd

; ---- The uninstaller ----

Function un.onInit
  ; An install for all users is the one the machine's entry names.
  StrCpy $AllUsers 0
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${IfThen} $0 == $INSTDIR ${|} StrCpy $AllUsers 1 ${|}
  !insertmacro SET_SHELL_CONTEXT
  !insertmacro NEED_ADMINISTRATOR_FOR_ALL_USERS
  !insertmacro FIND_PLAYER_FOLDER
  StrCpy $RemoveData 0
FunctionEnd

; Where the player's files may be: beside the program, and in their own folder.
Function un.DataFolders
  StrCpy $0 "$INSTDIR$\r$\n$PlayerFolder"
FunctionEnd

Function un.KeepPage
  !insertmacro MUI_HEADER_TEXT "Uninstall Marivane ${VERSION}" "The program goes; your puzzles, scores and settings stay."
  nsDialogs::Create 1018
  Pop $Dialog
  Call un.DataFolders
  ${NSD_CreateLabel} 0 0 100% 48u "This removes Marivane, its Start menu shortcut and its entry in the list of installed programs. Your puzzles, scores and settings are kept, in whichever of these folders holds them:$\r$\n$0"
  Pop $1
  ${NSD_CreateCheckBox} 0 56u 100% 12u "Also remove my puzzles, scores and settings"
  Pop $RemoveBox
  nsDialogs::Show
FunctionEnd

Function un.KeepPageLeave
  ${NSD_GetState} $RemoveBox $0
  ${IfThen} $0 == ${BST_CHECKED} ${|} StrCpy $RemoveData 1 ${|}
FunctionEnd

!macro REMOVE_FILE NAME
  Delete "$INSTDIR\${NAME}"
!macroend

; The files the game writes, in one folder; the folder itself when nothing else is left in it.
!macro REMOVE_PLAYER_FILES FOLDER
  Delete "${FOLDER}\OnLoad.dat"
  Delete "${FOLDER}\MVData.dat"
  Delete "${FOLDER}\MVStats.dat"
  Delete "${FOLDER}\MVC_CONFIG.INI"
  RMDir "${FOLDER}"
!macroend

Section "Uninstall"
  Call un.WaitForTheGameToClose
  !insertmacro ProgramFiles REMOVE_FILE
  Delete "$INSTDIR\Uninstall.exe"
  Delete "$SMPROGRAMS\Marivane.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ${If} $RemoveData == 1
    !insertmacro REMOVE_PLAYER_FILES "$PlayerFolder"
    !insertmacro REMOVE_PLAYER_FILES "$INSTDIR"
    DetailPrint "Your puzzles, scores and settings are removed."
  ${Else}
    DetailPrint "Your puzzles, scores and settings are kept in whichever of these folders holds them:"
    DetailPrint "$INSTDIR"
    DetailPrint "$PlayerFolder"
  ${EndIf}
  RMDir "$INSTDIR"
SectionEnd
