#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tolvane need, each only when it is missing.
# Runs as root, or through sudo otherwise. Usage: scripts/install-deps.sh [--bench | --package]
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  libjpeg62-turbo-dev zlib1g-dev libminizip-dev libexpat1-dev unzip python3 libxml2-utils
  libexiv2-dev libimage-exiftool-perl libjpeg-turbo-progs
  qt6-base-dev qt6-l10n-tools fonts-noto-cjk fonts-ipafont-gothic
  clang libclang-rt-14-dev locales-all
  chromium libjs-leaflet
  desktop-file-utils appstream
  dosfstools
)
# A Node.js that brings its own npm (as some machines have) conflicts with Debian's npm package.
if ! command -v npm >/dev/null 2>&1; then
  packages+=(nodejs npm)
fi
if [[ "${1:-}" == "--bench" ]]; then
  packages+=(gpsbabel)
fi
# What `make package` needs beyond the build: dpkg-shlibdeps and the file command for CPack.
if [[ "${1:-}" == "--package" ]]; then
  packages+=(dpkg-dev file)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} > 0)); then
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then
    sudo_cmd=(sudo)
  fi

  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The browser test's npm packages, exactly as its lock file names them (again when it changed).
browser_tests="$(dirname "$0")/../tests/browser"
if [[ -f "$browser_tests/package-lock.json" ]] &&
  [[ ! -d "$browser_tests/node_modules" ||
    "$browser_tests/package-lock.json" -nt "$browser_tests/node_modules/.package-lock.json" ]]; then
  echo "install-deps: npm ci in tests/browser"
  (cd "$browser_tests" && npm ci --no-audit --no-fund --loglevel=error)
fi
