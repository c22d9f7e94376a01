# Runs of the real twuninst.exe in a Wine prefix prepared with the sample
# installation, for the end-to-end tier and tools/demo. Source this file after
# tools/lib/wine.sh, display.sh and sample.sh.
#
#   tw_install_packages        install what the runs need (the 32-bit Wine
#                              and the tools of the optional checks only
#                              where they can be had)
#   tw_tier_begin NAME         start a Wine test script: install what it
#                              needs, fail when no Wine here starts programs,
#                              make the scratch folder WORK, removed with the
#                              prefix and the display when the script ends
#   tw_missing_for CHECK       what an optional check lacks here ("glyphs":
#                              ImageMagick and the Chinese font; "shortcuts":
#                              lnkinfo), nothing when it can run
#   tw_build                   build twuninst.exe and the test programs; sets
#                              TW_EXE_DIR and TW_TEST_PROGRAM_DIR. With TW_EXE
#                              set, the runs take that twuninst.exe in place
#                              of the test build's (a release build, signed
#                              or not, of the arch the prefix runs)
#   tw_prefix_prepare DIR      fresh prefix at DIR on a private display, with
#                              the Chinese fonts, the programs and the sample;
#                              its server is kept running until it is removed
#   tw_reset                   back to the sample installation, no records
#   tw_start ARGS...           start twuninst.exe with ARGS in the background
#   tw_read_box                read the message box now shown into BOX_TEXT,
#                              BOX_BUTTONS and BOX_RECT (fails without a box)
#   tw_answer KEY              press KEY on that box
#   tw_wait                    wait for twuninst.exe to end; fails after 30 s
#                              or on a non-zero exit status
#   tw_uninstaller_calls       the records of the stand-in uninstaller
#   tw_engine_calls            the records of the stand-in spchcfg.cpl
#   tw_registry_snapshot FILE  the keys that a run may change, as .reg text
#   tw_shortcut PATH           what the shortcut at PATH (below C:\, with
#                              slashes) opens: "target T|working directory
#                              W|icon I" (icon "(none)" when it has none);
#                              a note instead when lnkinfo is missing
#   tw_list_files              every file and folder below the sample's
#                              folders (paths below C:\, with slashes), sorted
#   tw_describe_shortcuts      each shortcut of that list, a tab, and what it
#                              opens (tw_shortcut)

TW_CAPTION='Corvane Sayframe卸载程序'
# The stand-in real uninstaller of the sample installation. Its path holds no
# blank, so that it is passed unquoted as parameter 4 of twuninst's command line.
TW_UNINSTALLER='C:\Corvane\Talkwise\uninstall.exe'
TW_UNINSTALLER_HOST_DIR=Corvane/Talkwise
# The keys that a run may change.
TW_SNAPSHOT_KEYS=(
  'HKLM\SOFTWARE\Corvane'
  'HKLM\SOFTWARE\Microsoft\Windows\Help'
  'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
  'HKCU\AppEvents\EventLabels'
  'HKCU\AppEvents\Schemes\Apps'
)

# The message texts as the executable's string table holds them.
tw_message_text() {
  sed -n "s/^#define $1 \"\\(.*\\)\"\$/\\1/p" app/message_texts.h
}

tw_install_packages() {
  tools/install-packages wine 'wine32:i386?' wine64 xvfb xdotool 'imagemagick?' 'fonts-wqy-microhei?' \
    'liblnk-utils?' g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32
}

tw_tier_begin() {
  tw_install_packages
  if ! wine_arch >/dev/null; then
    echo "$1 failed: $(wine_arch_reason)"
    exit 1
  fi
  work=$(mktemp -d /tmp/twuninst-tier.XXXXXX)
  trap tw_tier_end EXIT
}

tw_tier_end() {
  wine_prefix_remove
  display_stop
  rm -rf "$work"
}

tw_missing_for() {
  case $1 in
    glyphs)
      if ! command -v import >/dev/null || [ ! -x /usr/bin/convert ]; then
        echo imagemagick
      elif ! fc-list 2>/dev/null | grep 'WenQuanYi Micro Hei' >/dev/null; then
        echo fonts-wqy-microhei
      fi ;;
    shortcuts) command -v lnkinfo >/dev/null || echo liblnk-utils ;;
  esac
}

# The test build for the kind of Wine that this machine can run.
tw_build() {
  local preset
  case $(wine_arch) in
    win32) preset=mingw-tests ;;
    win64) preset=mingw64-tests ;;
    *) echo "no Wine on this machine can start programs" >&2; return 1 ;;
  esac
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j2 --target twuninst fake_uninstaller read_message_box make_shortcuts hidden_station spchcfg \
    >/dev/null
  TW_EXE_DIR=build/$preset
  TW_TEST_PROGRAM_DIR=build/$preset/wine-tests
  [ -z "${TW_EXE:-}" ] || echo "twuninst.exe: $TW_EXE, in place of the test build's"
}

tw_prefix_prepare() {
  wine_prefix_create "$1" || return 1
  display_start || return 1
  display_cjk_fonts || return 1
  local drive_c
  drive_c=$(wine_drive_c)
  wine_install "${TW_EXE:-$TW_EXE_DIR/twuninst.exe}" "$TW_TEST_PROGRAM_DIR/read_message_box.exe" "$TW_TEST_PROGRAM_DIR/hidden_station.exe" \
    "$TW_TEST_PROGRAM_DIR/make_shortcuts.exe"
  # Found by LoadLibrary through the system directory, as the engine's is.
  cp "$TW_TEST_PROGRAM_DIR/spchcfg.cpl" "$drive_c/windows/system32/"
  sample_install sample || return 1
  cp "$TW_TEST_PROGRAM_DIR/fake_uninstaller.exe" "$drive_c/$TW_UNINSTALLER_HOST_DIR/uninstall.exe"
  sample_files_save sample
  # A server that ends with its last program costs seconds at every start:
  # the one that made the sample is let go and a persistent one started.
  wineserver -w
  wineserver -p
}

# Everything happens in the running prefix: restoring a saved registry would
# mean stopping its server.
tw_reset() {
  sample_registry_reset sample || return 1
  sample_files_restore sample
  rm -f "$(wine_drive_c)/tw/spchcfg-calls.txt" "$(wine_drive_c)/tw/spchcfg-exit-code.txt"
}

tw_start() {
  wine_run twuninst.exe "$@" &
  TW_PID=$!
}

tw_read_box() {
  local report
  report=$(wine_run read_message_box.exe "$TW_CAPTION" | tr -d '\r') || return 1
  BOX_TEXT=$(sed -n 's/^text=//p' <<<"$report")
  BOX_BUTTONS=$(sed -n 's/^buttons=//p' <<<"$report")
  BOX_RECT=$(sed -n 's/^text_rect=//p' <<<"$report")
}

tw_answer() {
  local window
  window=$(display_wait_window "$TW_CAPTION") || return 1
  display_press "$window" "$1"
}

tw_wait() {
  for _ in $(seq 300); do
    kill -0 "$TW_PID" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$TW_PID" 2>/dev/null; then
    echo "twuninst.exe did not end" >&2
    return 1
  fi
  wait "$TW_PID"
}

# Records that are not there are no calls.
tw_uninstaller_calls() { cat "$(wine_drive_c)/$TW_UNINSTALLER_HOST_DIR/uninstaller-calls.txt" 2>/dev/null || true; }
tw_engine_calls() { cat "$(wine_drive_c)/tw/spchcfg-calls.txt" 2>/dev/null || true; }

tw_registry_snapshot() { wine_reg_export "$1" "${TW_SNAPSHOT_KEYS[@]}"; }

tw_shortcut() {
  [ -z "$(tw_missing_for shortcuts)" ] || { echo "(not read: lnkinfo is not installed)"; return; }
  lnkinfo "$(wine_drive_c)/$1" 2>/dev/null | awk -F'\t+: ' '
    /^\tLocal path/ { target = $2 } /^\tWorking directory/ { folder = $2 } /^\tIcon location/ { icon = $2 }
    END { printf "target %s|working directory %s|icon %s\n", target, folder, (icon == "" ? "(none)" : icon) }'
}

# tw_preview OUT ARGS...: "twuninst.exe /preview ARGS" started from a batch
# file with its standard output redirected, as from cmd.exe; the report goes
# to OUT (line ends as written), the exit code to PREVIEW_EXIT.
tw_preview() {
  local out=$1
  shift
  printf '@echo off\r\n>C:\\tw\\preview.txt C:\\tw\\twuninst.exe /preview %s\r\necho exit=%%ERRORLEVEL%%\r\n' "$*" \
    >"$(wine_drive_c)/tw/preview.bat"
  # cmd.exe ends with the last exit code, which says nothing here: the
  # batch file's line does.
  PREVIEW_EXIT=$({ wine_reg_tool cmd /c 'C:\tw\preview.bat' 2>/dev/null || true; } | tr -d '\r' | sed -n 's/^exit=//p')
  cp "$(wine_drive_c)/tw/preview.txt" "$out"
}

# The stand-in uninstaller's records are not the run's.
tw_list_files() {
  (cd "$(wine_drive_c)" && sample_saved_folders | while read -r folder; do find "$folder"; done |
    grep -Ev '/uninstaller-(calls|exit-code)\.txt$' | sort)
}

tw_describe_shortcuts() {
  local link
  while read -r link; do printf '%s\t%s\n' "$link" "$(tw_shortcut "$link")"; done < <(tw_list_files | grep '\.lnk$')
}
