#!/usr/bin/env bash
# Installs a build tree into a temporary prefix, then builds and runs the usage
# example against the installed headers and libraries only, on a file and on a
# prefix of a local etcd member.
# Usage: consume_install.sh BUILD_DIR CONSUMER_DIR EXAMPLES_DIR CXX_FLAGS
set -euo pipefail
build=$1 consumer=$2 examples=$3 flags=${4:-}
work=$(mktemp -d)
source "$(dirname "$0")/../../scripts/local_etcd.sh"
trap 'stop_local_etcd; rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
test -f "$work/prefix/include/DicomSettings/DicomSettings.h"
test -f "$work/prefix/include/DicomSettings/KeyTreeStore.h"
ls "$work/prefix"/lib*/libdicomsettings.so "$work/prefix"/lib*/libkeytreestore.so >/dev/null
# Files meant for the Debian packages only stay out of a plain install.
[ ! -e "$work/prefix/share/doc" ]

"$(dirname "$0")/build_consumers.sh" "$work/prefix" "$consumer" "$examples" "$work/consumer" "$flags"

# The same program reads and saves through an etcd:// path; the installed tool
# starts the prefix and reads the saved value back.
start_local_etcd "$work"
tool="$work/prefix/bin/dicom-settings"
cluster="etcd://$LOCAL_ETCD_ENDPOINT/sites/consumer"
"$tool" init "$cluster" >/dev/null
"$tool" set "$cluster" /EchoScu/TaskCount 1 /EchoScu/ClientAeTitle ECHO_SCU >/dev/null
"$tool" add "$cluster" /DicomClientSetting/DicomClient Port 104 >/dev/null
"$work/consumer/build/edit_settings" "$cluster" >"$work/cluster.txt"
grep -q "read back: task count 3, client AE title ECHO_SCU_2" "$work/cluster.txt"
[ "$("$tool" get "$cluster" /DicomClientSetting/DicomClient/Port)" = 11112 ]
echo "consumer on $cluster: saved and read back"

# The service loop of reload_on_change, on the file and on the prefix: started,
# then another process (the tool) saves a change, which the loop must take,
# print and end on.
take_change() {
  local path=$1 out="$work/reload.txt" pid
  "$work/consumer/build/reload_on_change" "$path" 1 >"$out" &
  pid=$!
  for _ in $(seq 100); do grep -q "task count" "$out" && break; sleep 0.1; done
  "$tool" set "$path" /EchoScu/TaskCount 9 >/dev/null
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    echo "reload_on_change on $path did not take the change" >&2
    return 1
  fi
  wait "$pid"
  [ "$(tail -n 1 "$out")" = "task count 9, client AE title ECHO_SCU_2" ]
  echo "reload_on_change on $path: took the change"
}
take_change "$work/consumer/settings.xml"
take_change "$cluster"
