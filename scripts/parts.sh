# Sourced by bench.sh and demo.sh, which each have a Windows and a Linux
# part: choose_parts ARGUMENTS... sets parts to the parts named (both
# when none is), or fails on any other word; running PART tells whether a
# part was chosen.
choose_parts() {
  parts=("$@")
  [ ${#parts[@]} -gt 0 ] || parts=(windows linux)
  local part
  for part in "${parts[@]}"; do
    case "$part" in
      windows | linux) ;;
      *) echo "usage: $0 [windows] [linux]" >&2; return 2 ;;
    esac
  done
}

running() { [[ " ${parts[*]} " == *" $1 "* ]]; }
