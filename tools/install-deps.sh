#!/usr/bin/env bash
# Installs the Debian packages the build needs, those that are missing only.
# Runs apt-get as root, or through sudo for another user.
set -euo pipefail
packages=(build-essential cmake qtbase5-dev qttools5-dev qttools5-dev-tools libtiff-dev libfftw3-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ "${#missing[@]}" -eq 0 ] && exit 0
if [ "$(id -u)" = 0 ]; then SUDO=""; else SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
