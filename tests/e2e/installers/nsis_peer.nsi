; The start-up benchmark's peer (tests/e2e/bench.sh): a small installer of the kind a product
; suite ships, made by Debian's makensis as a 32-bit program: a modern-UI welcome page, then a
; components page. The bench times it to its painted welcome page and closes it there. Its
; sections are empty and it has no page that runs them, so it installs nothing, even when clicked
; through.
;   makensis -V2 -DOUTFILE=PATH nsis_peer.nsi
Unicode true
!pragma warning disable 8000 ; "Page instfiles not used, no sections will be executed": as meant
!include "MUI2.nsh"

Name "Product Suite 2.0"
OutFile "${OUTFILE}"
InstallDir "$TEMP\Product Suite"
RequestExecutionLevel user

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_LANGUAGE "English"

Section "Main application" MainApplication
    SectionIn RO
SectionEnd

Section "Device driver" DeviceDriver
SectionEnd

Section /o "User guide" UserGuide
SectionEnd
