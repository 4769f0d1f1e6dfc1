#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#  1. the unit, scenario and end-to-end tests (CTest) of the normal build in
#     build/;
#  2. the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer
#     in build-asan/;
#  3. every fuzzing target for BD_FUZZ_SECONDS seconds (default 20), see
#     scripts/fuzz.sh.
# BD_TEST_QUICK=1 runs the first stage only. The last line sums up every
# stage as "N passed, N failed"; the exit status is 0 only when all passed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

passed=0
failed=0
# Adds the counts of CTest's summary line ("...tests passed, F tests failed
# out of T") in file $1; a run without that line counts as one failure.
count_ctest() {
  local line total bad
  line=$(grep -E 'tests failed out of [0-9]+' "$1" | tail -1 || true)
  if [ -z "$line" ]; then
    failed=$((failed + 1))
    return
  fi
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

run_ctest() {
  local dir="$1" log="$1/ctest.log"
  (cd "$dir" && ctest --output-on-failure --parallel "$(nproc)" --timeout 600) 2>&1 | tee "$log" || true
  count_ctest "$log"
}

build_dir="${BD_BUILD_DIR:-$root/build}"
BD_BUILD_DIR="$build_dir" "$root/scripts/build.sh"
run_ctest "$build_dir"

if [ "${BD_TEST_QUICK:-0}" != 1 ]; then
  asan_dir="${BD_ASAN_BUILD_DIR:-$root/build-asan}"
  echo "== Sanitizer build ($asan_dir)"
  if BD_BUILD_DIR="$asan_dir" "$root/scripts/build.sh" -DBD_SANITIZE=ON -DBD_BUILD_BENCH=OFF; then
    run_ctest "$asan_dir"
  else
    echo "The sanitizer build failed"
    failed=$((failed + 1))
  fi

  echo "== Fuzzing, ${BD_FUZZ_SECONDS:-20} s per target"
  fuzz_log="$(mktemp)"
  "$root/scripts/fuzz.sh" "${BD_FUZZ_SECONDS:-20}" 2>&1 | tee "$fuzz_log" || true
  line=$(grep -E '^fuzz: [0-9]+ passed, [0-9]+ failed$' "$fuzz_log" | tail -1 || true)
  rm -f "$fuzz_log"
  if [ -n "$line" ]; then
    passed=$((passed + $(sed -E 's/fuzz: ([0-9]+) passed.*/\1/' <<<"$line")))
    failed=$((failed + $(sed -E 's/.* ([0-9]+) failed$/\1/' <<<"$line")))
  else
    echo "The fuzzing targets could not be built"
    failed=$((failed + 1))
  fi
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
