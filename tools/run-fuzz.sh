#!/usr/bin/env bash
# Builds the fuzz targets in build-fuzz/ (clang, libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer), writes their seed corpus, replays the kept
# reproducers of fuzz/regressions/<target>/ and gives every target a short run.
# Exits non-zero on any crash, leak, hang (an input taking over 10 s), memory
# blow-up or sanitizer report, in a replay or a run.
#
#   tools/run-fuzz.sh [SECONDS]     SECONDS of fuzzing in all (default 63),
#                                   shared evenly by the targets
#
# The corpus grown by each run stays in build-fuzz/fuzz-corpus/<target>/, so
# later runs go on from it; inputs that failed are written to
# build-fuzz/fuzz-artifacts/<target>/. See README.md, "Fuzzing".
set -euo pipefail
cd "$(dirname "$0")/.."
total=${1:-63}
jobs=$(nproc)
targets=(fuzz_tiff fuzz_img fuzz_kvmx fuzz_spectrum_twocolumn fuzz_spectrum_9809 fuzz_refangles
         fuzz_batch)

bash tools/install-deps.sh --fuzz
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUMENOGRAF_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$jobs" --target fuzz_all

seeds=build-fuzz/fuzz-seeds
rm -rf "$seeds"
build-fuzz/tools/make-fuzz-seeds "$seeds"

export ASAN_OPTIONS=detect_leaks=1
# The targets write each input to a file of their own in $TMPDIR; an input
# that crashes leaves its file behind, so they get a folder that goes at the end.
base=/dev/shm
[ -d "$base" ] && [ -w "$base" ] || base=${TMPDIR:-/tmp}
TMPDIR=$(mktemp -d "$base/lumenograf-fuzz.XXXXXX")
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
limits=(-timeout=10 -rss_limit_mb=2048)
per=$(( total / ${#targets[@]} ))
[ "$per" -ge 1 ] || per=1
failed=()

# A log that names a sanitizer finding fails even when the process exited 0.
reported() {
  grep -q -E 'ERROR: (AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|libFuzzer)|runtime error:|SUMMARY: ' "$1"
}

for t in "${targets[@]}"; do
  bin=build-fuzz/fuzz/$t
  logs=build-fuzz/fuzz-logs
  mkdir -p "$logs" "build-fuzz/fuzz-corpus/$t" "build-fuzz/fuzz-artifacts/$t"

  # Every kept reproducer, once each.
  regressions=()
  if [ -d "fuzz/regressions/$t" ]; then
    while IFS= read -r -d '' f; do regressions+=("$f"); done \
      < <(find "fuzz/regressions/$t" -type f ! -name '*.md' -print0 | sort -z)
  fi
  if [ "${#regressions[@]}" -gt 0 ]; then
    for f in "${regressions[@]}"; do
      log=$logs/$t-replay-$(basename "$f").log
      if ! "$bin" "${limits[@]}" "$f" >"$log" 2>&1 || reported "$log"; then
        echo "FAIL $t: reproducer $f (log: $log)"
        grep -m 3 -E 'ERROR:|runtime error:|SUMMARY:' "$log" | sed 's/^/    /' || true
        failed+=("$t:$(basename "$f")")
      fi
    done
  fi

  # A short run from the grown corpus and the seeds; new inputs are kept in
  # the corpus folder (the first one given). The target's dictionary (or
  # that of its family, fuzz_spectrum.dict for both spectrum targets) gives
  # the words and numbers of its format.
  dict=()
  for d in "fuzz/$t.dict" "fuzz/${t%_*}.dict"; do
    if [ -f "$d" ]; then dict=(-dict="$d"); break; fi
  done
  log=$logs/$t.log
  if ! "$bin" "${limits[@]}" "${dict[@]}" -max_total_time="$per" -print_final_stats=1 \
       -artifact_prefix="build-fuzz/fuzz-artifacts/$t/" \
       "build-fuzz/fuzz-corpus/$t" "$seeds/$t" >"$log" 2>&1 || reported "$log"; then
    echo "FAIL $t: fuzzing found a fault (log: $log, input in build-fuzz/fuzz-artifacts/$t/)"
    grep -m 3 -E 'ERROR:|runtime error:|SUMMARY:' "$log" | sed 's/^/    /' || true
    failed+=("$t")
  else
    runs=$(grep -m 1 -o -E 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -o -E '[0-9]+$' || echo "?")
    echo "ok   $t: fuzzed $runs inputs in ${per} s without a finding (${#regressions[@]} reproducers replayed above)"
  fi
done

if [ "${#failed[@]}" -gt 0 ]; then
  echo "fuzzing failed: ${failed[*]}"
  exit 1
fi
echo "fuzzing passed"
