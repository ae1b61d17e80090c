; Per-user installer for Vantorel Patent Downloader: no administrator rights,
; everything under the user's own folders and HKEY_CURRENT_USER.
;
;   makensis -DPROGRAM=<path to the .exe> -DOUTFILE=<setup.exe> [-DVERSION=x.y.z] \
;            [-DICON=<program icon .ico>] vantorel-patent-downloader.nsi
;
; Silent use: setup.exe /S [/HOST=[https://]host[:port]] [/D=C:\Some\Folder]   (/D last, unquoted)
; Uninstall:  uninstall.exe [/S]

Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!ifndef PROGRAM
  !error "give the program with -DPROGRAM=<path>"
!endif
!ifndef OUTFILE
  !define OUTFILE "vantorel-patent-downloader-setup.exe"
!endif
!ifndef VERSION
  !define VERSION "0.0.0"
!endif

!define NAME "Vantorel Patent Downloader"
!define EXE "Vantorel Patent Downloader.exe"
!define PROGRAM_KEY "Software\Vantorel Patent Downloader"
!define MENU_KEY "Software\Microsoft\Internet Explorer\MenuExt\Vantorel Patent Downloader"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel Patent Downloader"
!define DEFAULT_HOST "localhost:8741"
; What a service host may hold: the same characters as the Linux installer
; allows, which also keeps line breaks out of the Settings file.
!define HOST_CHARACTERS "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.:_[]-"

!include "MUI2.nsh"
!include "nsDialogs.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${NAME}"
; A second install goes where the first one went.
InstallDirRegKey HKCU "${PROGRAM_KEY}" "InstallPath"
ShowInstDetails hide
ShowUninstDetails hide
; A file that cannot be replaced (the program still running) fails the
; install instead of being skipped silently.
AllowSkipFiles off

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "FileDescription" "${NAME} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" ""

Var ServiceHost
Var HostField

!define MUI_ABORTWARNING
!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_NOTCHECKED

!insertmacro MUI_PAGE_DIRECTORY
Page custom ServicePageShow ServicePageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Sets $0 to 1 when $ServiceHost is a usable host[:port] (http) or
; https://host[:port], else to 0: the same as the Linux installer accepts.
Function CheckServiceHost
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  StrCpy $0 0
  ; The scheme is written in small letters, as the Settings file reads it.
  StrCpy $6 $ServiceHost 8
  ${If} $6 S== "https://"
    StrCpy $6 $ServiceHost "" 8
  ${Else}
    StrCpy $6 $ServiceHost
  ${EndIf}
  StrLen $1 $ServiceHost
  ${If} $1 <= 255
    StrLen $1 $6
  ${Else}
    StrCpy $1 0
  ${EndIf}
  ${If} $1 > 0
    StrCpy $0 1
    StrCpy $2 0
    ${DoWhile} $2 < $1
      StrCpy $3 $6 1 $2
      ; Look the character up in the allowed set, case-sensitively.
      StrCpy $0 0
      StrCpy $4 0
      ${Do}
        StrCpy $5 "${HOST_CHARACTERS}" 1 $4
        ${IfThen} $5 == "" ${|} ${Break} ${|}
        ${If} $3 S== $5
          StrCpy $0 1
          ${Break}
        ${EndIf}
        IntOp $4 $4 + 1
      ${Loop}
      ${IfThen} $0 == 0 ${|} ${Break} ${|}
      IntOp $2 $2 + 1
    ${Loop}
  ${EndIf}
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

; Sets $R1 to the value of /HOST= in the command line $R0, up to the next
; blank, and clears the error flag; sets it when there is no /HOST=.
; (GetOptions would end the value at its first "/", cutting https:// short.)
Function HostOption
  Push $0
  Push $1
  Push $2
  Push $3
  StrLen $1 $R0
  StrCpy $0 0
  StrCpy $R1 ""
  SetErrors
  ${DoWhile} $0 < $1
    StrCpy $2 $R0 6 $0
    IntOp $3 $0 - 1
    ${If} $0 > 0
      StrCpy $3 $R0 1 $3
    ${Else}
      StrCpy $3 " "
    ${EndIf}
    ${If} $2 == "/HOST="
    ${AndIf} $3 == " "
      ClearErrors
      IntOp $0 $0 + 6
      ${DoWhile} $0 < $1
        StrCpy $2 $R0 1 $0
        ${IfThen} $2 == " " ${|} ${Break} ${|}
        StrCpy $R1 "$R1$2"
        IntOp $0 $0 + 1
      ${Loop}
      ${Break}
    ${EndIf}
    IntOp $0 $0 + 1
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Function .onInit
  SetShellVarContext current
  StrCpy $ServiceHost "${DEFAULT_HOST}"
  ${GetParameters} $R0
  Call HostOption
  ${IfNot} ${Errors}
    StrCpy $ServiceHost $R1
  ${EndIf}
  ${If} ${Silent}
    Call CheckServiceHost
    ${If} $0 == 0
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

; The host goes only into a first Settings file, so the page is skipped when
; the chosen folder already has one.
Function ServicePageShow
  ${If} ${FileExists} "$INSTDIR\tessariant.ini"
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Patent service" "Where the program fetches patent documents from."
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  ${NSD_CreateLabel} 0 0 100% 30u "Host and port of the patent-document service, for example localhost:8741, or https://host[:port] for a service over https. You can change it later in tessariant.ini in the install folder."
  Pop $0
  ${NSD_CreateText} 0 34u 60% 12u "$ServiceHost"
  Pop $HostField
  ${NSD_SetFocus} $HostField
  SendMessage $HostField ${EM_SETSEL} 0 -1
  nsDialogs::Show
FunctionEnd

Function ServicePageLeave
  ${NSD_GetText} $HostField $ServiceHost
  Call CheckServiceHost
  ${If} $0 == 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "Please enter a host name or address with an optional port, such as localhost:8741, or the same after https:// for a service over https."
    Abort
  ${EndIf}
FunctionEnd

Section "Program" SecProgram
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "/oname=${EXE}" "${PROGRAM}"
  CreateDirectory "$INSTDIR\patents"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${PROGRAM_KEY}" "InstallPath" "$INSTDIR"

  ; A first Settings file with the demo account, never over the user's own.
  ${IfNot} ${FileExists} "$INSTDIR\tessariant.ini"
    FileOpen $0 "$INSTDIR\tessariant.new" w
    FileWrite $0 "[Main]$\r$\nLogin=demo$\r$\nPswd=demo$\r$\nPath=$INSTDIR\patents\$\r$\n"
    FileWrite $0 "Timeout=120$\r$\nPDFAction=0$\r$\n$\r$\n[Service]$\r$\nHost=$ServiceHost$\r$\n"
    FileClose $0
    ; Rename does not replace: a Settings file that appeared meanwhile wins.
    ClearErrors
    Rename "$INSTDIR\tessariant.new" "$INSTDIR\tessariant.ini"
    Delete "$INSTDIR\tessariant.new"
  ${EndIf}

  CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/M=*.exe /S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

; The program's own files, keys and shortcut go; the Settings file, the
; patent folder and every PDF stay.
Section "Uninstall"
  retry:
  ClearErrors
  Delete "$INSTDIR\${EXE}"
  ${If} ${Errors}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${NAME} is running. Close it, then press Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Abort "${NAME} is running; nothing was removed."
  ${EndIf}
  Delete "$INSTDIR\tessariant.html"
  Delete "$INSTDIR\uninstall.exe"
  ; Both remove a folder only when it is empty.
  RMDir "$INSTDIR\patents"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${NAME}.lnk"

  DeleteRegKey HKCU "${MENU_KEY}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "${PROGRAM_KEY}"
SectionEnd
