#!/usr/bin/env bash
# Counts the processor instructions of one frame of each frame benchmark
# (race, still race scene, main menu) and of the frame copy they are compared
# with, under callgrind. Unlike times, these counts do not depend on what else
# the machine is doing. Block copies (memcpy) are shown apart. The C library
# is told to copy with vector instructions at every size: a large copy would
# otherwise use the string-move instruction, which valgrind counts once per
# byte.
# Usage: scripts/frame-instructions.sh [BUILD_DIR]   (default: build/)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${1:-${BD_BUILD_DIR:-$root/build}}"
bench="$build_dir/bench/bd_bench"
if ! command -v valgrind >/dev/null; then
  echo "valgrind is missing: scripts/install-deps.sh installs it" >&2
  exit 1
fi
if [ ! -x "$bench" ]; then
  echo "no benchmark binary at $bench: build the bd_bench target first" >&2
  exit 1
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# $1 benchmark, $2 the function that runs one frame of it. Only that function
# is profiled; its instructions are divided by the number of calls.
measure() {
  local out="$work/$1.out"
  GLIBC_TUNABLES=glibc.cpu.x86_rep_movsb_threshold=2000000000 \
    valgrind --tool=callgrind --toggle-collect="*::$2(*" --compress-strings=no --compress-pos=no \
    --callgrind-out-file="$out" "$bench" --benchmark_filter="^$1\$" --benchmark_min_time=0.2 \
    >"$work/$1.log" 2>&1 || {
    cat "$work/$1.log" >&2
    return 1
  }
  awk -v name="$1" -v fn="::$2(" '
    /^totals:/ { total = $2; next }
    /^fn=/ { copying = $0 ~ /mem(cpy|move)/; next }
    /^cfn=/ { called = index($0, fn) > 0; next }
    /^calls=/ { if (called) { split($1, c, "="); calls += c[2] } called = 0; inclusive = 1; next }
    /^[0-9+-]/ { if (!inclusive && copying) copied += $2; inclusive = 0 }
    END {
      if (calls == 0) { printf "%-18s no frames counted\n", name; exit 1 }
      printf "%-18s %9.0f instructions per frame, %9.0f of them in memcpy (%d frames)\n", name,
             total / calls, copied / calls, calls
    }' "$out"
}

measure BM_RaceFrame DrivingFrame
measure BM_RaceSceneFrame SceneFrame
measure BM_MenuFrame MenuFrame
measure BM_FrameCopy CopyFrame
