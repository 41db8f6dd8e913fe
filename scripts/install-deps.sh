#!/usr/bin/env bash
# Installs the Debian packages the build needs, and only those that are missing,
# so that a second run costs a few dpkg look-ups and nothing else.
set -euo pipefail

packages=(
    g++ make cmake ninja-build pkg-config
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev libicu-dev
    # application bundles' information dictionaries
    libplist-dev
    libcairo2-dev libpango1.0-dev libfontconfig-dev
    # the only fonts the programs draw with (their fontconfig file names no others): Carlito
    # for the system font, DejaVu for the monospaced one and the symbols Carlito lacks
    fonts-crosextra-carlito fonts-dejavu-core
    # the demo reads the desktop's JSON lines; the README's commands run in terminals of tmux
    jq tmux
    clang libclang-rt-dev clang-format
    # links the sanitised suites several times faster than the default linker
    lld
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
