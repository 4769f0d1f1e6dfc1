#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it from its run directory.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "${BD_BUILD_DIR:-$root/build}/run"
exec ./bumperdash
