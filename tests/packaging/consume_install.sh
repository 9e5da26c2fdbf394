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
# Files meant for the Debian packages only stay out of a plain install.
[ ! -e "$work/prefix/share/doc" ]

"$(dirname "$0")/build_consumers.sh" "$work/prefix" "$consumer" "$examples" "$work/consumer" "$flags"
