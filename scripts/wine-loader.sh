# Sourced: wine_loader win32|win64 prints the Wine loader for that
# architecture and exports WINELOADER; it fails when this machine cannot
# run it. Debian's `wine` always starts the 32-bit loader when wine32 is
# installed, even for a 64-bit prefix, and some kernels refuse 32-bit
# programs altogether (exec format error).
wine_loader() {
  local loader
  case "$1" in
    win32) loader=/usr/lib/wine/wine ;;
    win64) loader=/usr/lib/wine/wine64 ;;
    *) echo "wine_loader: unknown architecture $1" >&2; return 2 ;;
  esac
  "$loader" --version >/dev/null 2>&1 || return 1
  export WINELOADER=$loader
  echo "$loader"
}

# Exit status that tells ctest a test was skipped.
WINE_UNAVAILABLE_STATUS=77
