# Sourced by the packaging test scripts: a temporary folder ($work) removed on
# exit, and failures counted by fail so that one run reports all of them.
# shellcheck shell=bash
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# fail WHAT...: prints "FAIL WHAT..." and counts it.
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# finish SUMMARY: exit status 1 after any failure, else prints SUMMARY.
finish() {
  [ "$failures" -eq 0 ] || exit 1
  echo "$1"
}
