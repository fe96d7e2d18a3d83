#!/usr/bin/env bash
# Installs the Debian packages the build needs, those that are missing only.
# With --fuzz also clang and its runtime libraries, which hold libFuzzer and
# the sanitizers that -fsanitize=fuzzer links (tools/run-fuzz.sh); clang only
# recommends them, so they are named here.
# Runs apt-get as root, or through sudo for another user.
set -euo pipefail
packages=(build-essential cmake qtbase5-dev qttools5-dev qttools5-dev-tools libtiff-dev libfftw3-dev)
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ "${#missing[@]}" -eq 0 ] && exit 0
if [ "$(id -u)" = 0 ]; then SUDO=""; else SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
