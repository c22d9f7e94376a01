# The sample installation of sample/ in a Wine prefix. Source this file after
# tools/lib/wine.sh and wine_registry.sh; it defines functions only.
#
#   sample_install SAMPLE_DIR     lay the sample out in the current prefix: its
#                                 files (files.txt), its registry (*.reg) and
#                                 its start-menu shortcuts (shortcuts.txt, made
#                                 by make_shortcuts.exe, installed in C:\tw)
#   sample_registry_reset SAMPLE_DIR
#                                 delete the keys that talkwise.reg names (the
#                                 ones a run may change), with everything below
#                                 them, and import the .reg files again, in the
#                                 running prefix
#   sample_files_save NAME        remember the files below C:\ that a run of
#                                 the uninstaller may change
#   sample_files_restore NAME     put the files saved as NAME back
#   sample_products SAMPLE_DIR    each product the sample installs and its
#                                 language, "ProdTWC EN_US", one a line
#
# The saved files are those of every top folder of C:\ but windows, users,
# ProgramData and the program folders, which the sample does not use.

sample_install() {
  local sample=$1 drive_c
  drive_c=$(wine_drive_c)
  local file
  while read -r file; do
    case $file in '' | '#'*) continue ;; esac
    mkdir -p "$drive_c/$(dirname "$file")"
    printf 'sample file %s\n' "$file" >"$drive_c/$file"
  done <"$sample/files.txt"

  local reg
  for reg in "$sample"/*.reg; do
    wine_reg_import "$reg" || { echo "cannot import $reg" >&2; return 1; }
  done

  # The shortcuts' folders exist before the shell is asked to save into them.
  local link
  while IFS='|' read -r link _; do
    case $link in '' | '#'*) continue ;; esac
    link=${link#C:\\}
    mkdir -p "$drive_c/$(dirname "${link//\\//}")"
  done <"$sample/shortcuts.txt"
  cp "$sample/shortcuts.txt" "$drive_c/tw/sample-shortcuts.txt"
  wine_run make_shortcuts.exe 'C:\tw\sample-shortcuts.txt'
}

# One .reg file does it all, deleting with [-KEY] before importing: every
# Wine process costs about half a second even with the server kept running.
sample_registry_reset() {
  local sample=$1 drive_c
  drive_c=$(wine_drive_c)
  {
    echo 'REGEDIT4'
    echo
    # Only the outermost keys: deleting one takes everything below it.
    sed -n 's/^\[\(.*\)\]$/\1/p' "$sample/talkwise.reg" | LC_ALL=C sort -u |
      awk '{ for (i = 1; i <= n; i++) if (index($0, kept[i] "\\") == 1) next; kept[++n] = $0; print "[-" $0 "]" }'
    # and the uninstall ledger: each case starts with no removal recorded
    echo '[-HKEY_LOCAL_MACHINE\SOFTWARE\Corvane\Talkwise\Uninstall]'
    echo
    local reg
    for reg in "$sample"/*.reg; do grep -v '^REGEDIT4' "$reg"; done
  } >"$drive_c/tw/sample-reset.reg"
  wine_reg_import "$drive_c/tw/sample-reset.reg"
}

sample_saved_folders() {
  (cd "$(wine_drive_c)" && find . -mindepth 1 -maxdepth 1 -type d \
    ! -name windows ! -name users ! -name ProgramData ! -name 'Program Files*' ! -name tw -printf '%P\n')
}

sample_files_save() {
  local archive=$WINEPREFIX/.tw-files-$1.tar
  local folders
  mapfile -t folders < <(sample_saved_folders)
  tar -C "$(wine_drive_c)" -cf "$archive" "${folders[@]}"
}

sample_files_restore() {
  local archive=$WINEPREFIX/.tw-files-$1.tar
  [ -f "$archive" ] || { echo "no saved files $1" >&2; return 1; }
  local folder
  while read -r folder; do rm -rf "$(wine_drive_c)/${folder:?}"; done < <(sample_saved_folders)
  tar -C "$(wine_drive_c)" -xf "$archive"
}

sample_products() {
  tr -d '\r' <"$1/talkwise.reg" | awk '
    /^\[/ { language = ""; if (match($0, /\\Install\\Languages\\[^\\]*\]$/)) language = substr($0, RSTART + 19, RLENGTH - 20) }
    language != "" && /^"[A-Za-z]+Ctr"=/ && !/^"UsageCtr"/ { split($0, part, "\""); print substr(part[2], 1, length(part[2]) - 3) " " language }'
}
