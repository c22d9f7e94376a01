# Wine helpers for the test tiers that run the Windows build. Source this file;
# it defines functions only and changes nothing until one is called.
#
#   wine_arch                print win32 when this machine's Wine can start
#                            32-bit programs, win64 when only 64-bit ones
#                            (kernels without 32-bit support), nothing when
#                            no Wine can run
#   wine_arch_reason         one line: which kind of prefix runs here, and why
#   wine_prefix_create DIR   make a fresh prefix of that kind at DIR and export
#                            the environment that every later call uses, and
#                            say on standard error which kind it is and why
#   wine_state_save NAME     remember the prefix's registry as NAME
#   wine_state_restore NAME  put the registry saved as NAME back
#   wine_install PATH...     copy files or folders into C:\tw inside the prefix
#   wine_run EXE ARGS...     run C:\tw\EXE from inside the prefix; returns its
#                            exit status
#   wine_run_in_locale DIR LOCALE EXE ARGS...
#                            the same with LC_ALL=LOCALE from the locale
#                            folder DIR
#   wine_drive_c             print the host path of C:\
#   wine_prefix_remove       stop the prefix's server and delete the prefix
#
# The prefix never maps a drive to the host's root (Z: is removed) and holds
# no link to the host's folders (the profile folders are made plain), so that a
# program under test that deletes folder trees can only reach the prefix.

# The loaders of Debian's wine32 and wine64 packages; /usr/bin/wine always
# picks the 32-bit one when it is installed, even where it cannot start.
wine_loader_for() {
  case $1 in
    win32) printf '%s\n' /usr/lib/wine/wine ;;
    win64) printf '%s\n' /usr/lib/wine/wine64 ;;
  esac
}

wine_arch() {
  local arch
  for arch in win32 win64; do
    if "$(wine_loader_for $arch)" --version >/dev/null 2>&1; then
      printf '%s\n' "$arch"
      return 0
    fi
  done
  return 1
}

wine_arch_reason() {
  case $(wine_arch) in
    win32) echo "Wine prefix: 32-bit (win32), the shipped i686 program runs here" ;;
    win64)
      if [ -x "$(wine_loader_for win32)" ]; then
        echo "Wine prefix: 64-bit (win64), because this kernel cannot start 32-bit programs"
      else
        echo "Wine prefix: 64-bit (win64), because the 32-bit Wine (package wine32:i386) is not installed"
      fi ;;
    *) echo "no Wine on this machine can start programs: install it with tools/install-packages wine wine64" ;;
  esac
}

wine_prefix_create() {
  local dir=$1 arch
  wine_arch_reason >&2
  arch=$(wine_arch) || return 1
  export WINEPREFIX=$dir WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  WINELOADER=$(wine_loader_for "$arch")
  export WINELOADER
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "$WINELOADER" wineboot -i >/dev/null 2>&1 || return 1
  wineserver -w
  rm -f "$WINEPREFIX/dosdevices/z:"
  wine_unlink_host_folders
  if [ -e "$WINEPREFIX/dosdevices/z:" ] || [ ! -d "$WINEPREFIX/drive_c" ] ||
    [ -n "$(find "$WINEPREFIX/drive_c" -type l -print -quit)" ]; then
    echo "wine prefix $WINEPREFIX is not usable" >&2
    return 1
  fi
  mkdir -p "$WINEPREFIX/drive_c/tw"
}

# Wine links the user's Desktop, Documents and the like to the host's home
# folder; a delete below them would reach the host. They become plain folders.
wine_unlink_host_folders() {
  local link
  while IFS= read -r -d '' link; do
    rm -f "$link"
    mkdir -p "$link"
  done < <(find "$WINEPREFIX/drive_c" -type l -print0)
}

# The registry lives in the *.reg files while no server runs; the server
# writes them back when it ends, so it is waited for before copying.
wine_state_save() {
  local saved=$WINEPREFIX/.tw-state/$1
  wineserver -w
  mkdir -p "$saved"
  cp "$WINEPREFIX"/system.reg "$WINEPREFIX"/user.reg "$WINEPREFIX"/userdef.reg "$saved"/
}

wine_state_restore() {
  local saved=$WINEPREFIX/.tw-state/$1
  [ -d "$saved" ] || { echo "no saved wine state $1" >&2; return 1; }
  wineserver -k 2>/dev/null || true
  wineserver -w
  cp "$saved"/*.reg "$WINEPREFIX"/
}

wine_drive_c() { printf '%s\n' "$WINEPREFIX/drive_c"; }

wine_install() { cp -r "$@" "$WINEPREFIX/drive_c/tw/"; }

wine_run() { wine_run_in_locale "" "" "$@"; }

# Like wine_run, with the locale LOCALE (e.g. zh_CN.UTF-8, which gives the
# program code page 936) taken from the locale folder DIR (see localedef).
# Empty DIR and LOCALE keep the caller's locale.
wine_run_in_locale() {
  local dir=$1 locale=$2 exe=$3
  shift 3
  [ ! -e "$WINEPREFIX/dosdevices/z:" ] || { echo "drive Z: is mapped in $WINEPREFIX" >&2; return 1; }
  local environment=()
  [ -z "$dir" ] || environment+=("LOCPATH=$dir")
  [ -z "$locale" ] || environment+=("LC_ALL=$locale")
  (cd "$WINEPREFIX/drive_c/tw" && env "${environment[@]}" "$WINELOADER" "C:\\tw\\$exe" "$@")
}

wine_prefix_remove() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
