; Another program's uninstaller, for the release test: a 64-bit program with a version
; resource of its own, as the folder of another tool would hold one.
;   makensis -DOUTFILE=file foreign_uninstaller.nsi
Target amd64-unicode
OutFile "${OUTFILE}"
RequestExecutionLevel user
SilentInstall silent

VIProductVersion 2.3.0.0
VIAddVersionKey ProductName "Tidewell Notes"
VIAddVersionKey CompanyName "Tidewell"
VIAddVersionKey FileDescription "Tidewell Notes Uninstall"
VIAddVersionKey FileVersion 2.3.0.0
VIAddVersionKey LegalCopyright "Tidewell"

Section
SectionEnd
