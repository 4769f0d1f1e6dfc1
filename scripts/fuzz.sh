#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each one on its seed
# corpus for a while. Any crash, leak, sanitizer report or hang fails the run;
# the input that caused it is kept under build-fuzz/artifacts/.
# Usage: scripts/fuzz.sh [seconds per target, default 20] [target ...]
#   e.g. scripts/fuzz.sh 600 wave    (ten minutes on the wave reader only)
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BD_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-20}"
shift || true
all_targets=(image_archive sound_archive dib wave settings share_config version_reply report_request recording seed_reply)
targets=("${@:-${all_targets[@]}}")

CC=clang CXX=clang++ cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBD_FUZZ=ON -DBD_BUILD_TESTS=OFF -DBD_BUILD_BENCH=OFF >/dev/null || exit 1
cmake --build "$build_dir" --target fuzz_all --parallel "$(nproc)" >/dev/null || {
  cmake --build "$build_dir" --target fuzz_all --parallel 1 2>&1 | tail -40
  exit 1
}

passed=0
failed=0
for t in "${targets[@]}"; do
  corpus="$root/fuzz/corpus/$t"
  [ -d "$corpus" ] || { echo "fuzz: no corpus for '$t'"; failed=$((failed + 1)); continue; }
  # New inputs go to a scratch corpus in the build tree; the seeds in the
  # repository are only read.
  work="$build_dir/corpus/$t"
  artifacts="$build_dir/artifacts/$t/"
  mkdir -p "$work" "$artifacts"
  dict=()
  [ -f "$root/fuzz/dict/$t.dict" ] && dict=(-dict="$root/fuzz/dict/$t.dict")
  log="$build_dir/fuzz-$t.log"
  SDL_AUDIODRIVER=dummy ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=1" \
    "$build_dir/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=8192 -print_final_stats=1 -artifact_prefix="$artifacts" "${dict[@]}" \
    "$work" "$corpus" >"$log" 2>&1
  rc=$?
  runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || true)
  if [ $rc -eq 0 ]; then
    passed=$((passed + 1))
    echo "fuzz: $t passed (${runs:-?} runs in ${seconds}s)"
  else
    failed=$((failed + 1))
    echo "fuzz: $t FAILED (exit $rc), log $log, inputs in $artifacts"
    grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -20
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ $failed -eq 0 ]
