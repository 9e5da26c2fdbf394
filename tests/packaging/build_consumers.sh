#!/usr/bin/env bash
# Builds and runs the usage example against an installed or unpacked tree
# (PREFIX holds include/ and lib/ or lib/<multiarch>/): through find_package
# with <DicomSettings/...> includes, through pkg-config with bare includes, and
# checks that every installed header compiles included as <DicomSettings/X.h>
# with only PREFIX/include on the path.
# Usage: build_consumers.sh PREFIX CONSUMER_DIR EXAMPLES_DIR WORK_DIR CXX_FLAGS
set -euo pipefail
prefix=$1 consumer=$2 examples=$3 work=$4 flags=${5:-}
mkdir -p "$work"

cat >"$work/settings.xml" <<'XML'
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

# find_package(DicomSettings CONFIG REQUIRED), #include <DicomSettings/DicomSettings.h>
grep -q '#include <DicomSettings/DicomSettings.h>' "$examples/edit_settings.cpp"
cmake -S "$consumer" -B "$work/build" -DCMAKE_PREFIX_PATH="$prefix" \
  -DEXAMPLES_DIR="$examples" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build "$work/build" >/dev/null
"$work/build/edit_settings" "$work/settings.xml" | tee "$work/out.txt"
grep -q "read back: task count 3, client AE title ECHO_SCU_2" "$work/out.txt"

# pkg-config dicomsettings, #include "DicomSettings.h"
pcdir=$(dirname "$(find "$prefix" -name dicomsettings.pc)")
libdir=$(dirname "$pcdir")
sed 's|#include <DicomSettings/\(.*\)>|#include "\1"|' "$examples/edit_settings.cpp" >"$work/bare.cpp"
grep -q '#include "DicomSettings.h"' "$work/bare.cpp"
# shellcheck disable=SC2046,SC2086
c++ -std=c++17 $flags $(PKG_CONFIG_PATH="$pcdir" pkg-config --cflags dicomsettings) \
  "$work/bare.cpp" -o "$work/edit_settings_pc" \
  $(PKG_CONFIG_PATH="$pcdir" pkg-config --libs dicomsettings) -Wl,-rpath,"$libdir"
"$work/edit_settings_pc" "$work/settings.xml" >/dev/null

# Every public header, namespaced, with nothing but PREFIX/include to find it.
headers=("$prefix"/include/DicomSettings/*.h)
[ "${#headers[@]}" -ge 20 ]
for header in "${headers[@]}"; do
  echo "#include <DicomSettings/$(basename "$header")>"
done >"$work/all_headers.cpp"
# shellcheck disable=SC2086
c++ -std=c++17 $flags -fsyntax-only -I"$prefix/include" "$work/all_headers.cpp"
echo "consumers: find_package with <DicomSettings/...>, pkg-config with bare names, ${#headers[@]} headers"
