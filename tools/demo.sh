#!/usr/bin/env bash
# Installs the packages that are missing, builds the program, writes the demo data set into ./demo-data and starts the
# program on it. With a display the main window opens with both stacks loaded
# and the position on the sample; without one the demo script runs offscreen,
# saves its spectra into ./demo-results and the program ends.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target lumenograf make-demo-data

./build/tools/make-demo-data demo-data
mkdir -p demo-results

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/src/app/lumenograf -b tools/demo/demo.bat -x
fi

results="$(pwd)/demo-results"
rm -f demo-results/*-T.dat demo-results/*-std.dat
echo "No display: running tools/demo/demo-headless.bat offscreen"
status=0
QT_QPA_PLATFORM=offscreen timeout 600 ./build/src/app/lumenograf -e -b tools/demo/demo-headless.bat -x || status=$?
if [ "$status" -ne 0 ]; then
  echo "lumenograf ended with status $status" >&2
  exit "$status"
fi
shopt -s nullglob
written=(demo-results/*-T.dat)
if [ "${#written[@]}" -eq 0 ]; then
  echo "The demo script saved no spectra into $results" >&2
  exit 1
fi
echo "Demo results (spectra at the sample's regions) in $results:"
ls -l "$results"
