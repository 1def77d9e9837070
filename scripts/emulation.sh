# Where the Wine tests and the program run: sourced by install-deps.sh,
# test.sh and run.sh. Run as root.

# Whether they run in the emulated machine (scripts/ia32-vm.sh): where this
# kernel runs no 32-bit programs, and wherever PINVALE_EMULATE=1 asks for it,
# so that the path can be tried on any host. Ends the script where
# runs-ia32.sh cannot tell.
emulated() {
  [ "${PINVALE_EMULATE:-0}" = 0 ] || return 0
  local status=0
  bash "$(dirname "${BASH_SOURCE[0]}")/runs-ia32.sh" || status=$?
  case $status in
    0) return 1 ;;
    1) return 0 ;;
    *) exit "$status" ;;
  esac
}
