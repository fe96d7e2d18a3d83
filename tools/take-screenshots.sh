#!/usr/bin/env bash
# Takes a picture of every window of the program on a 1366 x 768 screen:
#   tools/take-screenshots.sh [-e] FOLDER
# Starts a virtual X server (Xvfb) with a small window manager, writes the demo
# data set, and runs the program on a script that does what a first afternoon
# does: the demo (both stacks, the spectra of the sample's regions), an LCF run
# over the sample with the two reference spectra, an element run and a
# calibration against the metal reference. Once the script is through, each
# window is raised and saved as a PNG into FOLDER, first in English, then in
# Japanese; -e keeps to English. FOLDER/index.txt names the window of each
# picture. Missing packages are installed with apt-get (as root).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

english_only=0
if [ "${1:-}" = "-e" ]; then
  english_only=1
  shift
fi
if [ $# -ne 1 ]; then
  echo "usage: $0 [-e] FOLDER" >&2
  exit 2
fi
mkdir -p "$1"
out=$(cd "$1" && pwd)

# Xvfb, a window manager that raises windows on request, a grabber, a tool
# to find and raise windows, and a font with Japanese glyphs.
need=()
command -v Xvfb >/dev/null || need+=(xvfb)
command -v openbox >/dev/null || need+=(openbox)
[ -x /usr/bin/import ] || need+=(imagemagick)
command -v xdotool >/dev/null || need+=(xdotool)
fc-list :lang=ja 2>/dev/null | grep -q . || need+=(fonts-ipafont-gothic)
if [ "${#need[@]}" -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages (${need[*]}): run as root or install them first" >&2
    exit 1
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

build=${BUILD_DIR:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target lumenograf make-demo-data >/dev/null
exe="$root/$build/src/app/lumenograf"

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

"$root/$build/tools/make-demo-data" "$work/demo-data" >/dev/null
mkdir -p "$work/demo-results"

# The demo, then the runs; the last line writes a file that tells this script
# the program is through.
{
  cat tools/demo/demo.bat
  cat <<'EOF'

# LCF over the sample with both references, in bins of 11 x 11 pixels.
analyzer_show_window
analyzer_select_analysis_mode 0
analyzer_set_LCF_std 0 1 0 demo-data/ref_Fe_metal.dat
analyzer_set_LCF_std 1 1 0 demo-data/ref_Fe2O3.dat
select_region 4 4 124 124
analyzer_exec_LCF
analyzer_select_image 0

# Element run: iron.
analyzer_select_analysis_mode 2
analyzer_target_elements Fe
analyzer_exec_elems

# Calibration against the metal reference.
calib_show_window
calib_load_std demo-data/ref_Fe_metal.dat
calib_exec

imgproc_show_window
move_position 36 38
save_spectra finished.dat
EOF
} > "$work/shots.bat"

display=:77
Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

: > "$out/index.txt"
languages=(en)
[ "$english_only" -eq 1 ] || languages+=(ja)
for lang in "${languages[@]}"; do
  rm -f "$work/finished-T.dat"
  flags=(-b shots.bat -x)
  [ "$lang" = en ] && flags=(-e "${flags[@]}")
  (cd "$work" && exec "$exe" "${flags[@]}") > "$out/log-$lang.txt" 2>&1 &
  app=$!
  pids+=("$app")
  for _ in $(seq 600); do
    [ -f "$work/finished-T.dat" ] && break
    kill -0 "$app" 2>/dev/null || break
    sleep 1
  done
  if [ ! -f "$work/finished-T.dat" ]; then
    echo "the script did not finish in $lang (see $out/log-$lang.txt)" >&2
    exit 1
  fi
  sleep 2
  n=0
  for w in $(xdotool search --onlyvisible --pid "$app" 2>/dev/null); do
    title=$(xdotool getwindowname "$w")
    [ -n "$title" ] || continue
    n=$((n + 1))
    file=$(printf '%s-%02d.png' "$lang" "$n")
    xdotool windowactivate --sync "$w" >/dev/null 2>&1 || xdotool windowraise "$w"
    sleep 1
    import -window "$w" "$out/$file"
    geometry=$(xdotool getwindowgeometry "$w" | sed -n 's/.*Geometry: //p')
    printf '%s\t%s\t%s\n' "$file" "$geometry" "$title" >> "$out/index.txt"
  done
  # The whole screen as the user sees it, the windows where they were left.
  import -window root "$out/$lang-screen.png"
  printf '%s\t1366x768\t(whole screen)\n' "$lang-screen.png" >> "$out/index.txt"
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
done
echo "pictures in $out:"
cat "$out/index.txt"
