#!/usr/bin/env bash
# Installs a build tree into a temporary prefix, then builds and runs the usage
# example against the installed headers and libraries only.
# Usage: consume_install.sh BUILD_DIR CONSUMER_DIR EXAMPLES_DIR CXX_FLAGS
set -euo pipefail
build=$1 consumer=$2 examples=$3 flags=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
test -f "$work/prefix/include/DicomSettings/DicomSettings.h"
test -f "$work/prefix/include/DicomSettings/KeyTreeStore.h"
ls "$work/prefix"/lib*/libdicomsettings.so "$work/prefix"/lib*/libkeytreestore.so >/dev/null

cat > "$work/settings.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<Settings>
  <EchoScu>
    <TaskCount>1</TaskCount>
    <ClientAeTitle>ECHO_SCU</ClientAeTitle>
    <Syntax><AbstractSyntax>1.2.840.10008.1.1</AbstractSyntax></Syntax>
  </EchoScu>
  <DicomClientSetting>
    <DicomClient><ServerAe>PACS</ServerAe><IpAddress>127.0.0.1</IpAddress><Port>104</Port></DicomClient>
  </DicomClientSetting>
</Settings>
XML

# find_package(DicomSettings CONFIG REQUIRED)
cmake -S "$consumer" -B "$work/build" -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DEXAMPLES_DIR="$examples" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build "$work/build" >/dev/null
"$work/build/edit_settings" "$work/settings.xml" | tee "$work/out.txt"
grep -q "read back: task count 3, client AE title ECHO_SCU_2" "$work/out.txt"

# pkg-config dicomsettings
pcdir=$(dirname "$(ls "$work/prefix"/lib*/pkgconfig/dicomsettings.pc)")
libdir=$(dirname "$pcdir")
# shellcheck disable=SC2046,SC2086
c++ -std=c++17 $flags $(PKG_CONFIG_PATH="$pcdir" pkg-config --cflags dicomsettings) \
  "$examples/edit_settings.cpp" -o "$work/edit_settings_pc" \
  $(PKG_CONFIG_PATH="$pcdir" pkg-config --libs dicomsettings) -Wl,-rpath,"$libdir"
"$work/edit_settings_pc" "$work/settings.xml" >/dev/null
echo "packaging: find_package and pkg-config consumers built and ran"
