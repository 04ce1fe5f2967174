# shell_checks.sh: what the program's shell tests share, sourced by each. They take the program,
# the scenario folder and a work folder (emptied first), and count the checks that fail.
#
# usage (in a test): source "$(dirname "$0")/../support/shell_checks.sh" "$@"
set -uo pipefail
SIM=$1
SCN=$2
WORK=$3
rm -rf "$WORK"
mkdir -p "$WORK"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }
# Ends the test: non-zero when any check failed, else the given last line.
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "$1"
}
