# Registry files in and out of the current Wine prefix, through Wine's own
# reg.exe. Source this file after tools/lib/wine.sh.
#
#   wine_reg_import FILE        import a .reg file (REGEDIT4 or 5; a key
#                               written [-KEY] is deleted with its subkeys)
#   wine_reg_export OUT KEY...  export the keys into one .reg text at OUT, with
#                               Unix line ends and no header; a missing key is
#                               left out

wine_reg_tool() { (cd "$WINEPREFIX/drive_c/tw" && "$WINELOADER" "$@"); }

wine_reg_import() {
  cp "$1" "$WINEPREFIX/drive_c/tw/import.reg" || return 1
  wine_reg_tool reg import 'C:\tw\import.reg' >/dev/null 2>&1
}

# One cmd process runs every export: each Wine process costs about half a
# second even while the server runs.
wine_reg_export() {
  local out=$1 tw=$WINEPREFIX/drive_c/tw key index=0
  shift
  rm -f "$tw"/export-*.reg
  {
    echo '@echo off'
    for key in "$@"; do
      printf 'reg export "%s" C:\\tw\\export-%d.reg /y >nul 2>nul\r\n' "$key" "$index"
      index=$((index + 1))
    done
  } >"$tw/export.bat"
  wine_reg_tool cmd /c 'C:\tw\export.bat' >/dev/null 2>&1
  local part
  for part in "$tw"/export-*.reg; do
    [ -f "$part" ] || continue
    iconv -f UTF-16 -t UTF-8 "$part" | tr -d '\r' | grep -v '^Windows Registry Editor'
  done >"$out"
}
