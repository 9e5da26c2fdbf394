#!/usr/bin/env bash
# The tool's own command line and what is made from it: --version, an unknown
# command named with a hint, the manual page (renders without warnings and
# covers every command, option and area) and the bash completion script.
# Usage: command_line.sh TOOL VERSION MANPAGE COMPLETION
set -euo pipefail
tool=$1 version=$2 manpage=$3 completion=$4
source "$(dirname "$0")/test_support.sh"

# --version and unknown commands.
[ "$("$tool" --version)" = "dicom-settings $version" ] || fail "--version: $("$tool" --version)"
# A mistyped command: named, with the nearest command when one is close (a swap
# of two neighbouring letters is one slip), exit status 2.
while read -r typed nearest; do
  status=0
  "$tool" "$typed" settings.xml 2>"$work/err.txt" || status=$?
  [ "$status" -eq 2 ] || fail "unknown command $typed: exit status $status"
  hint=$(sed -n 's/.*(did you mean "\(.*\)"?).*/\1/p' "$work/err.txt")
  grep -q "unknown command \"$typed\"" "$work/err.txt" && [ "${hint:--}" = "$nearest" ] ||
    fail "unknown command $typed: $(cat "$work/err.txt")"
done <<'TYPED'
shwo show
chekc check
scheam schema
compleiton completion
sett set
cuont count
frobnicate -
ls -
x -
TYPED

# The manual page: no warnings, and every command, option and area in it.
MANWIDTH=80 man --warnings -l "$manpage" >"$work/man.txt" 2>"$work/man-warnings.txt"
[ ! -s "$work/man-warnings.txt" ] || fail "man warnings: $(cat "$work/man-warnings.txt")"
commands=$("$tool" --help | sed -n '/^Subcommands:/,/^$/p' | awk 'NR > 1 && NF {print $1}')
[ -n "$commands" ] || fail "no commands in --help"
for command in $commands; do
  grep -Eq "^ {7}$command( |$)" "$work/man.txt" || fail "manual page lacks command $command"
  for option in $("$tool" "$command" --help | grep -Eo -- '--[a-z]+' | sort -u); do
    grep -Eq "^ {7}$option( |$)" "$work/man.txt" || fail "manual page lacks option $option"
  done
done
areas=$("$tool" show --help | sed -n 's/.*Areas to print (default: all): //p' | tr -d ',')
[ -n "$areas" ] || fail "no areas in show --help"
for area in $areas; do
  grep -Eq "(^|[ ,:])$area[,.]" "$work/man.txt" || fail "manual page lacks area $area"
done
for section in "EXIT STATUS" FILES EXAMPLES; do
  grep -q "^$section" "$work/man.txt" || fail "manual page lacks $section"
done

# Completion: COMP_WORDS as bash fills them for the line typed so far.
touch "$work/settings.xml" "$work/site.xml"
completes() {
  local expected=$1 line
  shift
  line="$*"
  COMPREPLY=()
  # shellcheck disable=SC2206
  COMP_WORDS=($line)
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  if [ "${line: -1}" = " " ]; then COMP_WORDS+=(""); COMP_CWORD=$((COMP_CWORD + 1)); fi
  _dicom_settings || true
  local got="${COMPREPLY[*]}"
  if [ "$expected" = "-" ]; then
    [ -z "$got" ] || fail "\"$line\" completed \"$got\", expected nothing"
  elif [[ " $got " != *" $expected "* ]]; then
    fail "\"$line\" completed \"$got\", expected $expected among them"
  fi
}
# shellcheck disable=SC1090
source "$completion"
completes show dicom-settings sh
completes --version dicom-settings --ver
completes --json dicom-settings show --j
completes --force dicom-settings init new.xml --f
completes echo dicom-settings show settings.xml ec
completes clients dicom-settings copy a.xml b.xml echo cl
completes /Mwmscu/Port dicom-settings get settings.xml /Mwm
completes /StorageScu/Syntax dicom-settings count settings.xml /StorageScu/Syn
completes - dicom-settings set settings.xml /Mwmscu/Port 41
completes /EchoScu/TaskCount dicom-settings set settings.xml /Mwmscu/Port 4104 /EchoScu/Task
completes "$work/site.xml" dicom-settings check "$work/si"
completes bash dicom-settings completion b
completes - dicom-settings get settings.xml /EchoScu/TaskCount ""
for reply in $(COMP_WORDS=(dicom-settings get f /Mwm) COMP_CWORD=3 && { _dicom_settings || true; } && echo "${COMPREPLY[@]}"); do
  [[ $reply == /Mwm* ]] || fail "\"/Mwm\" completed $reply"
done

finish "command line: version, unknown command, manual page and completion as expected"
