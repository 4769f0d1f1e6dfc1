#!/usr/bin/env bash
# Measures the game's sound mix as a player hears it: the real game on a
# virtual X server (Xvfb with openbox) with music and sounds on (a fresh
# settings file), its output recorded by SDL's disk audio driver (raw 16-bit
# stereo at 44.1 kHz), driven with xdotool like a player: races with Up
# held in stretches, lane changes, a stop charge now and then, the "leave
# the race?" question opened and answered "no", and a new race whenever one
# ends, until SECONDS of race have been played. Then it prints sox's figures
# for the recording and the game's own meter (tools/soundmeter): samples at
# full scale, levels of every 10 s, and how far each cue stands above what
# played before it. Exit status 0 when nothing reached full scale and every
# cue stands above the mix, 1 when not, 2 when the measurement failed. It is
# a measuring tool, not a test.
#
# Usage: scripts/measure-sound.sh [SECONDS]
#   SECONDS  race time to record (default 200)
# BD_BUILD_DIR chooses the build directory (default build/); BD_KEEP_RECORDING
# names a file to copy the recording to (to listen to or measure again).
set -euo pipefail
export LC_ALL=C
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BD_BUILD_DIR:-$root/build}"
seconds="${1:-200}"
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || {
  echo "usage: $0 [SECONDS]" >&2
  exit 2
}

die() {
  echo "measure-sound: $*" >&2
  exit 2
}

command -v sox >/dev/null || "$root/scripts/install-deps.sh"
# shellcheck source=scripts/measure-common.sh
source "$root/scripts/measure-common.sh"
cmake --build "$build" --parallel "$(nproc)" --target soundmeter >/dev/null

recording="$scratch/output.raw"
log="$scratch/frames.log"
start_x 1024x768
(cd "$scratch" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$recording" BUMPERDASH_FRAME_LOG="$log" \
  exec "$game" >"$scratch/game.txt" 2>&1) &
pid=$!
pids+=("$pid")
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" | head -1) ||
  die "the game's window did not appear"
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"

# The screen the game shows, from the frame log's screen records.
screen() { awk '$1 == "screen" { s = $2 } END { print s + 0 }' "$log" 2>/dev/null || echo 0; }

step=0.25
race_ticks=0     # quarter seconds of race played
screen_ticks=0   # quarter seconds on the present screen
last=0
up=0
races=0
target_ticks=$((seconds * 4))
deadline=$((SECONDS + seconds * 3 + 120))
while ((race_ticks < target_ticks)); do
  ((SECONDS < deadline)) || die "only $((race_ticks / 4)) s of race in the time allowed"
  kill -0 "$pid" 2>/dev/null || die "the game ended: $(cat "$scratch/game.txt")"
  now=$(screen)
  if ((now != last)); then
    screen_ticks=0
    last=$now
    if ((up)); then
      xdotool keyup Up
      up=0
    fi
    ((now == 3)) && races=$((races + 1))
  fi
  screen_ticks=$((screen_ticks + 1))
  case $now in
    1 | 2) ((screen_ticks % 8 == 4)) && xdotool key Return ;;
    6) ((screen_ticks % 8 == 4)) && xdotool key Escape ;;
    9) ((screen_ticks % 8 == 0 && screen_ticks >= 24)) && xdotool type a && xdotool key Return ;;
    3)
      race_ticks=$((race_ticks + 1))
      t=$screen_ticks
      # Up held for six seconds out of every nine: the speed rises and
      # falls through every engine layer. (Slower driving lets the lava
      # catch the car and ends the races sooner.)
      if ((t % 36 == 8)); then
        xdotool keydown Up
        up=1
      elif ((t % 36 == 32)); then
        xdotool keyup Up
        up=0
      fi
      ((t % 8 == 2)) && xdotool key Left
      ((t % 8 == 6)) && xdotool key Right
      ((t % 44 == 20)) && xdotool key Return # a stop charge, if there is one
      if ((t % 160 == 100)); then            # the question opens and is answered "no"
        xdotool key Escape
        sleep 1.5
        xdotool key Escape
      fi
      ;;
  esac
  sleep "$step"
done
((up)) && xdotool keyup Up
sleep 1
stop_processes

[ -s "$recording" ] || die "nothing was recorded"
[ -n "${BD_KEEP_RECORDING:-}" ] && cp "$recording" "$BD_KEEP_RECORDING"
echo "Race time: $seconds s in $races race(s); levels completed: $(grep -c '^sound applaus ' "$log" || true)"
echo "sox stats of the whole recording:"
sox -t raw -r 44100 -e signed -b 16 -c 2 "$recording" -n stats 2>&1 |
  grep -E '^(Pk lev dB|RMS lev dB|RMS Pk dB|Flat factor|Pk count|Length s)' | sed 's/^/  /'
"$build/tools/soundmeter/soundmeter" "$recording" "$log" "$scratch/Data/Sound.dxw"
