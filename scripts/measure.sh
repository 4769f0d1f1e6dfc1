#!/usr/bin/env bash
# Measures the real game while it runs: CPU use on the main menu and in a
# race, how late frames start after they became due, the time from exec to
# the first presented frame, how long each archive and song takes to load,
# and the peak memory. The game (build/run/bumperdash, built first if
# needed) runs on a virtual X server (Xvfb with openbox) in a scratch
# directory with a copy of the built data, on SDL's dummy sound output (so
# that music and sounds are still mixed), driven with xdotool.
#
# Usage: scripts/measure.sh [SECONDS]
#   SECONDS  how long each of the menu and the race is measured (default 20)
# BD_BUILD_DIR chooses the build directory (default build/); with
# BD_MEASURE_LOG=FILE the game's timing log of the long run is kept in FILE.
#
# Each figure is printed with its target and "PASS" or "over". The exit
# status is 0 when every figure met its target, 1 when one did not and 2
# when the measurement itself failed. Timing depends on the machine and on
# what else it is doing, so this is a measuring tool and not a test.
set -euo pipefail
export LC_ALL=C
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BD_BUILD_DIR:-$root/build}"
seconds="${1:-20}"
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || {
  echo "usage: $0 [SECONDS]" >&2
  exit 2
}
starts=5  # short runs for the start-up time, whose median is reported

die() {
  echo "measure: $*" >&2
  exit 2
}

# shellcheck source=scripts/measure-common.sh
source "$root/scripts/measure-common.sh"
start_x 1024x768

# Starts the game with the timing log $1 and a fresh settings file; the
# wall clock just before exec goes to $1.exec. Sets game_pid.
start_game() {
  rm -f "$scratch/Config.cfg" "$1"
  (
    cd "$scratch"
    export BUMPERDASH_FRAME_LOG="$1" SDL_AUDIODRIVER=dummy
    now_us >"$1.exec"
    exec "$game" >"$scratch/game.txt" 2>&1
  ) &
  game_pid=$!
  pids+=("$game_pid")
}
# Ends the game the way the desktop does; its loop ends and writes the log out.
stop_game() {
  kill -TERM "$game_pid"
  for _ in $(seq 50); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$game_pid" 2>/dev/null && die "the game did not end when asked to"
  wait "$game_pid" 2>/dev/null || true
}
# Waits up to $3 seconds for a line matching $2 in the log $1.
wait_for_log() {
  local i
  for ((i = 0; i < $3 * 10; i++)); do
    grep -q "$2" "$1" 2>/dev/null && return 0
    kill -0 "$game_pid" 2>/dev/null || die "the game stopped: $(cat "$scratch/game.txt")"
    sleep 0.1
  done
  die "no '$2' from the game within $3 s"
}
# Milliseconds from exec to the first presented frame in the log $1.
startup_ms() {
  awk -v e="$(<"$1.exec")" '$1 == "present" { printf "%.0f", ($2 - e) / 1000; exit }' "$1"
}

# Measures the game's CPU use over $1 seconds, running the command $2 once a
# second meanwhile; sets phase_start, phase_end (uptime, µs) and cpu (%).
measure_phase() {
  local t0 c0 t1 c1 i
  t0=$(uptime_us)
  c0=$(cpu_ticks "$game_pid")
  for ((i = 0; i < $1; i++)); do
    sleep 1
    $2 "$i"
  done
  t1=$(uptime_us)
  c1=$(cpu_ticks "$game_pid")
  phase_start=$t0
  phase_end=$t1
  cpu=$(awk -v c=$((c1 - c0)) -v hz="$ticks_per_second" -v us=$((t1 - t0)) \
    'BEGIN { printf "%.1f", c / hz / (us / 1e6) * 100 }')
}
nothing() { :; }
# Changes lanes now and then, as a driver would.
steer() {
  case $(($1 % 4)) in
    1) xdotool key Left ;;
    3) xdotool key Right ;;
  esac
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# Start-up: a few starts, each ended once the first frame is presented.
startup_runs=()
for ((run = 1; run <= starts; run++)); do
  start_game "$scratch/start-$run.log"
  wait_for_log "$scratch/start-$run.log" '^present ' 20
  stop_game
  startup_runs+=("$(startup_ms "$scratch/start-$run.log")")
done

# The long run: the menu, then a race.
log="$scratch/frames.log"
start_game "$log"
wait_for_log "$log" '^present ' 20
window=$(timeout 10 xdotool search --sync --onlyvisible --pid "$game_pid" | head -1) ||
  die "the game's window did not appear"
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"

# The splash leaves for the main menu by itself after 4 s.
sleep 5.5
caption=$(xdotool getwindowname "$window")
case "$caption" in *"["*) die "the game is paused (caption '$caption'): it does not have the focus" ;; esac
measure_phase "$seconds" nothing
menu_cpu=$cpu menu_start=$phase_start menu_end=$phase_end

# Enter starts a race from the menu; the car drives with Up held.
xdotool key Return
wait_for_log "$log" '^load Data/GraphicsMain.dxg ' 10
sleep 1
xdotool keydown Up
measure_phase "$seconds" steer
xdotool keyup Up
race_cpu=$cpu race_start=$phase_start race_end=$phase_end
peak_kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$game_pid/status")
stop_game
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
[ -z "${BD_MEASURE_LOG:-}" ] || cp "$log" "$BD_MEASURE_LOG"

# ---- figures ----
failures=0
# judge VALUE TARGET: sets verdict to "PASS" when VALUE < TARGET, else to
# "over" and counts the failure.
judge() {
  if awk -v v="$1" -v t="$2" 'BEGIN { exit !(v < t) }'; then
    verdict=PASS
  else
    failures=$((failures + 1))
    verdict=over
  fi
}
row() { printf '%-42s %-34s %s\n' "$1" "$2" "$3"; }

echo "Machine: $(nproc) cores; load average $load_before before, $load_after after"
judge "$menu_cpu" 15
row "CPU on the main menu (${seconds} s)" "$menu_cpu % of one core" "target < 15 %: $verdict"
judge "$race_cpu" 25
row "CPU in a race (${seconds} s)" "$race_cpu % of one core" "target < 25 %: $verdict"

# Lateness of the frame starts within [$1, $2): "frames fps p50 p99 max", ms.
lateness() {
  awk -v a="$1" -v b="$2" '$1 == "frame" && $2 >= a && $2 < b { print $3 }' "$log" | sort -n |
    awk -v span="$(($2 - $1))" '
      { v[NR] = $1 }
      function pct(p,   i) { i = int(p * NR + 0.999999); if (i < 1) i = 1; return v[i] / 1000 }
      END {
        if (NR == 0) { print "0 0 0 0 0"; exit }
        printf "%d %.1f %.2f %.2f %.2f\n", NR, NR / (span / 1e6), pct(0.5), pct(0.99), v[NR] / 1000
      }'
}
for phase in menu race; do
  if [ "$phase" = menu ]; then range=("$menu_start" "$menu_end"); else range=("$race_start" "$race_end"); fi
  read -r frames fps p50 p99 max < <(lateness "${range[@]}")
  [ "$frames" -gt 0 ] || die "no frames were logged on the $phase"
  # A long gap means the game stood still: no focus, or the machine paused.
  gap=$(awk -v a="${range[0]}" -v b="${range[1]}" '$1 == "frame" && $2 >= a && $2 < b {
      if (p && $2 - p > g) g = $2 - p; p = $2 } END { printf "%.0f", g / 1000 }' "$log")
  judge "$p99" 1
  row "Frame start lateness, $phase" "p50 $p50 / p99 $p99 / max $max ms" "target p99 < 1 ms: $verdict"
  row "  frames" "$frames ($fps per second, longest gap $gap ms)" ""
done

sorted=$(printf '%s\n' "${startup_runs[@]}" | sort -n | tr '\n' ' ')
median=$(printf '%s\n' "${startup_runs[@]}" | sort -n | sed -n "$(((starts + 1) / 2))p")
judge "$median" 300
row "Start-up, exec to first presented frame" "$median ms (median; $sorted)" "target < 300 ms: $verdict"
row "  of which exec to main (long run)" \
  "$(awk -v e="$(<"$log.exec")" '$1 == "start" { printf "%.0f", ($2 - e) / 1000; exit }' "$log") ms" ""
row "  processor time until then (long run)" "$(awk '$1 == "present" { printf "%.0f", $3 / 1000; exit }' "$log") ms" ""
# Load times: the median over every run that loaded the file (the menu
# archive, a song and the sounds at every start; the race archive once).
for f in "$scratch"/start-*.log "$log"; do
  awk '$1 == "load" && !seen[$2]++ { print $2, $3 }' "$f"
done | sort -k1,1 -k2,2n | awk '
  function flush() { if (n) printf "  loading %-32s %.1f ms (%d run%s)\n", name, v[int((n + 1) / 2)] / 1000, n, (n > 1 ? "s" : "") }
  $1 != name { flush(); name = $1; n = 0 }
  { v[++n] = $2 }
  END { flush() }'
peak_mb=$(awk -v k="$peak_kb" 'BEGIN { printf "%.1f", k / 1024 }')
judge "$peak_mb" 120
row "Peak memory (VmHWM), menu and race" "$peak_mb MB" "target < 120 MB: $verdict"
if grep -q '^load Music/GameOver.xm ' "$log"; then
  echo "(the race ended in game over before the end of the measurement)"
fi

[ "$failures" -eq 0 ] || exit 1
