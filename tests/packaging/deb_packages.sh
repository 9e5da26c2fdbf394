#!/usr/bin/env bash
# Builds the Debian packages with scripts/package (which fails on any lintian
# error), unpacks them with dpkg-deb -x into a temporary tree (they are never
# installed), checks their contents and dependencies, and builds the usage
# example against the unpacked tree. Skipped (77) in sanitizer builds: the
# packages are a Release build of their own.
# Usage: deb_packages.sh SOURCE_DIR PACKAGE_BUILD_DIR CONSUMER_DIR VERSION CXX_FLAGS
set -euo pipefail
source_dir=$1 build=$2 consumer=$3 version=$4 flags=${5:-}
case "$flags" in *-fsanitize*)
  echo "skipped: the packages are built without sanitizers"
  exit 77 ;;
esac
source "$(dirname "$0")/test_support.sh"

"$source_dir/scripts/package" --build-dir "$build" --out "$build/debs"
runtime=$build/debs/libdicomsettings1_${version}_amd64.deb
dev=$build/debs/libdicomsettings-dev_${version}_amd64.deb
tool=$build/debs/dicom-settings_${version}_amd64.deb
root=$work/root
for deb in "$runtime" "$dev" "$tool"; do
  dpkg-deb -x "$deb" "$root"
  package=$(dpkg-deb -f "$deb" Package)
  dpkg-deb -c "$deb" >"$work/$package.txt"
  [ -s "$root/usr/share/doc/$package/copyright" ] || fail "$package has no copyright file"
  grep -q "^License: MIT" "$root/usr/share/doc/$package/copyright" || fail "$package copyright: not MIT"
done

multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
libdir=$root/usr/lib/$multiarch
for library in libdicomsettings libkeytreestore; do
  objdump -p "$libdir/$library.so.1" | grep -E "SONAME +$library\.so\.1$" >/dev/null || fail "$library: SONAME"
  grep -q "/$library.so.1.0.0$" "$work/libdicomsettings1.txt" || fail "$library not in the runtime package"
  grep -q "/$library.so -> $library.so.1$" "$work/libdicomsettings-dev.txt" || fail "$library link not in -dev"
done
for file in usr/share/man/man1/dicom-settings.1.gz usr/share/dicomsettings/settings.xsd \
  usr/share/bash-completion/completions/dicom-settings; do
  grep -q "\./$file$" "$work/dicom-settings.txt" || fail "$file not in the tool's package"
done

# Dependencies computed from the binaries, the packages' own tied to the version.
tool_depends=$(dpkg-deb -f "$tool" Depends)
[[ $tool_depends == *"libdicomsettings1 (= $version)"* ]] || fail "tool: Depends $tool_depends"
[[ $tool_depends == *"libc6 (>="* ]] || fail "tool: no computed Depends in $tool_depends"
[[ $(dpkg-deb -f "$runtime" Depends) == *"libpugixml1v5"* ]] || fail "runtime: no computed Depends"
[[ $(dpkg-deb -f "$dev" Depends) == *"libdicomsettings1 (= $version)"* ]] || fail "-dev: Depends"

# bash-completion's on-demand loader finds the script under share/ by the
# command's name.
loaded=$(XDG_DATA_DIRS=$root/usr/share bash -c 'source /usr/share/bash-completion/bash_completion &&
  __load_completion dicom-settings && complete -p dicom-settings' 2>&1) || true
[ "$loaded" = "complete -F _dicom_settings dicom-settings" ] || fail "bash-completion: $loaded"

# The unpacked tool runs on the unpacked libraries, and the example builds on them.
# The loader's path stands in for the system's library folder the packages
# install into: the libraries carry no run path there.
[ "$(LD_LIBRARY_PATH=$libdir "$root/usr/bin/dicom-settings" --version)" = "dicom-settings $version" ] ||
  fail "the unpacked tool does not run"
LD_LIBRARY_PATH=$libdir "$(dirname "$0")/build_consumers.sh" "$root/usr" "$consumer" \
  "$source_dir/examples" "$work/consumer" "$flags"

finish "packages: contents, dependencies and an example built against the unpacked tree"
