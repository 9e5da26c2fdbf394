#!/usr/bin/env bash
# The generated XML Schema against the sample file, the sample with every
# element's children in reverse order, a file from `init` (every key of every
# area), and planted values: for each, xmllint's verdict with the schema must
# be the expected one and the same as `dicom-settings check`'s.
# Usage: settings_schema.sh TOOL XSD SAMPLE
set -euo pipefail
tool=$1 xsd=$2 sample=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$(dirname "$0")/test_support.sh"

# verdict NAME FILE EXPECTED(accept|reject) [TEXT the schema's complaint names]
verdict() {
  local name=$1 file=$2 expected=$3 text=${4:-} schema=accept check=accept
  xmllint --noout --schema "$xsd" "$file" 2>"$work/xmllint.txt" || schema=reject
  "$tool" check "$file" >"$work/check.txt" 2>&1 || check=reject
  if [ "$schema" != "$expected" ] || [ "$check" != "$expected" ]; then
    fail "$name: expected $expected, schema says $schema, check says $check"
    cat "$work/xmllint.txt" "$work/check.txt"
  elif [ -n "$text" ] && ! grep -q -- "$text" "$work/xmllint.txt"; then
    fail "$name: the schema's complaint does not name $text"
    cat "$work/xmllint.txt"
  fi
}


verdict "sample" "$sample" accept
xsltproc "$here/reverse_order.xsl" "$sample" >"$work/reversed.xml"
verdict "sample in reverse order" "$work/reversed.xml" accept
"$tool" init "$work/init.xml"
verdict "every key, empty" "$work/init.xml" accept
sed '0,/<TaskCount>/s//<TaskCont>/; 0,/<\/TaskCount>/s//<\/TaskCont>/' "$sample" >"$work/misspelt.xml"
verdict "misspelt element" "$work/misspelt.xml" reject TaskCont

long=$(printf 'x%.0s' $(seq 511))
while IFS='|' read -r name element value expected text; do
  verdict_file=$work/planted.xml
  sed "0,/<$element>[^<]*<\/$element>/s//<$element>$value<\/$element>/" "$sample" >"$verdict_file"
  if ! grep -q "<$element>$value</$element>" "$verdict_file"; then
    fail "$name: no $element in the sample"
    continue
  fi
  verdict "$name" "$verdict_file" "$expected" "$text"
done <<CASES
port abc|Port|abc|reject|abc
port with blanks|Port| 104 |accept|
port beyond int|Port|2147483648|reject|
port at int's least|Port|-2147483648|accept|
port unset|Port||accept|
number with comma|Timeout|2,5|accept|
number with unit|Timeout|30 s|reject|
number without leading digit|Timeout|.5|accept|
two decimal points|Timeout|1.2.3|reject|
boolean in mixed case|DebugLogout|tRuE|accept|
boolean yes|DebugLogout|yes|reject|
boolean with a blank|DebugLogout| TRUE|reject|
string of 511|ClientAeTitle|$long|accept|
string of 512|ClientAeTitle|${long}x|reject|
CASES

finish "schema: sample, reversed, init file and planted values judged as check judges them"
