#!/usr/bin/env bash
# Configures and builds the game, its tools, tests and benchmarks into build/.
# Usage: scripts/build.sh [extra cmake configure arguments]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${BD_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
