#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it from its run directory.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
run="${BD_BUILD_DIR:-$root/build}/run"
cd "$run"
# With the score server the game was built for on this machine, a local one
# runs beside the game, its table in the run directory.
exec "$root/desktop/with-local-scores.sh" "$(cat score-server)" "$run/bumperdash-scores" "$run/www" "$run" \
  ./bumperdash
