#!/usr/bin/env bash
# Measures what showing the picture on a large screen costs the real game:
# the CPU use of a race (Up held, changing lanes now and then) on a virtual
# X server (Xvfb with openbox, so no graphics processor: the processor
# scales) in each of these displays:
#   window 1024x768    the window on an old 4:3 screen (1x), the baseline
#   full 1920x1080     full screen on a full-HD screen (1440x1080 picture)
#   full 3840x2160     full screen on a 4K screen (3x, 2400x1800 between bars)
#   window 3840x2160   the window on a 4K screen (opens at 3x, 2400x1800)
# Each figure is printed with its target and "PASS" or "over"; the exit
# status is 0 when every figure met its target, 1 when one did not and 2
# when the measurement itself failed. It is a measuring tool, not a test.
#
# Usage: scripts/measure-display.sh [SECONDS]
#   SECONDS  how long each race is measured (default 20)
# BD_BUILD_DIR chooses the build directory (default build/); BD_DISPLAYS
# replaces the list above, one "SCREEN MODE TARGET" a line (for example
# BD_DISPLAYS='3840x2160 full 12').
set -euo pipefail
export LC_ALL=C
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BD_BUILD_DIR:-$root/build}"
seconds="${1:-20}"
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || {
  echo "usage: $0 [SECONDS]" >&2
  exit 2
}

die() {
  echo "measure-display: $*" >&2
  exit 2
}

# shellcheck source=scripts/measure-common.sh
source "$root/scripts/measure-common.sh"

# Runs one race on a screen of size $1 in mode $2 (window or full); sets
# cpu (% of one core) and size (the game window's size while measured).
measure() {
  local screen=$1 mode=$2 pid window t0 c0 t1 c1 i
  rm -f "$scratch/Config.cfg"
  start_x "$screen"
  (cd "$scratch" && SDL_AUDIODRIVER=dummy exec "$game" >"$scratch/game.txt" 2>&1) &
  pid=$!
  pids+=("$pid")
  window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" | head -1) ||
    die "the game's window did not appear"
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  # The splash leaves by itself; Enter on the main menu starts a race.
  sleep 5.5
  xdotool key Return
  sleep 1.5
  if [ "$mode" = full ]; then
    xdotool key alt+Return
    sleep 2
  fi
  xdotool keydown Up
  t0=$(uptime_us)
  c0=$(cpu_ticks "$pid")
  for ((i = 0; i < seconds; i++)); do
    sleep 1
    case $((i % 4)) in
      1) xdotool key Left ;;
      3) xdotool key Right ;;
    esac
  done
  t1=$(uptime_us)
  c1=$(cpu_ticks "$pid")
  xdotool keyup Up
  size=$(xdotool getwindowgeometry "$window" | awk '/Geometry:/ { print $2 }')
  cpu=$(awk -v c=$((c1 - c0)) -v hz="$ticks_per_second" -v us=$((t1 - t0)) \
    'BEGIN { printf "%.1f", c / hz / (us / 1e6) * 100 }')
  stop_processes
}

failures=0
row() { printf '%-34s %-12s %-26s %s\n' "$1" "$2" "$3" "$4"; }
echo "Machine: $(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg) before"
while read -r screen mode target; do
  measure "$screen" "$mode"
  if awk -v v="$cpu" -v t="$target" 'BEGIN { exit !(v <= t) }'; then
    verdict=PASS
  else
    verdict=over
    failures=$((failures + 1))
  fi
  row "Race, $mode on $screen (${seconds} s)" "window $size" "$cpu % of one core" \
    "target <= $target %: $verdict"
done < <(printf '%s\n' "${BD_DISPLAYS:-1024x768 window 25
1920x1080 full 8
3840x2160 full 12
3840x2160 window 12}")
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
[ "$failures" -eq 0 ] || exit 1
