# Shared by the scripts: installs the Debian packages the project needs when any
# is missing (as root, with apt-get), and knows the project's folders.
# shellcheck shell=bash

PROJECT_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="$(nproc 2>/dev/null || echo 2)"

# Every Debian package the project needs to build, test, benchmark and fuzz.
PROJECT_PACKAGES=(
  build-essential cmake pkg-config git
  libpugixml-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcli11-dev nlohmann-json3-dev libboost-dev
  libcurl4-openssl-dev etcd-server etcd-client openssl
  clang libclang-rt-14-dev
  locales
  dpkg-dev file lintian libxml2-utils xsltproc man-db bash-completion
)

ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing Debian packages: ${missing[*]}; run as root or install them" >&2
    exit 2
  fi
  echo "installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# A locale whose decimal point is "," for the locale-independence tests.
ensure_comma_locale() {
  locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$' && return 0
  [ "$(id -u)" -eq 0 ] || return 0
  localedef -i de_DE -f UTF-8 de_DE.UTF-8 >/dev/null 2>&1 || true
}
