#!/usr/bin/env bash
# Measures the game's sound mix as a player hears it: the real game on a
# virtual X server (Xvfb with openbox) with music and sounds on (a fresh
# settings file), its output recorded by SDL's disk audio driver (raw 16-bit
# stereo at 44.1 kHz), driven with xdotool like a player who watches the
# road: Up held, steering round what a screenshot of the road ahead shows
# in the car's way, a stop charge now and then, the "leave the race?"
# question opened and answered "no", and a new race whenever one ends,
# until SECONDS of race have been played and one race has lasted three
# minutes. Then it prints sox's figures for
# the recording and the game's own meter (tools/soundmeter): samples at
# full scale, levels of every 10 s, and how far each cue stands above what
# played before it. Exit status 0 when nothing reached full scale and every
# cue stands above the mix, 1 when not, 2 when the measurement failed. It is
# a measuring tool, not a test.
#
# Usage: scripts/measure-sound.sh [SECONDS]
#   SECONDS  race time to record at least (default 200)
# BD_BUILD_DIR chooses the build directory (default build/); BD_KEEP_RECORDING
# names a file to copy the recording to (to listen to or measure again), and
# the frame log goes beside it as FILE.frames (for tools/soundmeter).
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

# What the player sees ahead, from a screenshot of the window: the x of the
# car (the reddest column of the strip it drives in), then how far each of
# twelve 48-pixel columns of the road ahead is from the plain road's pale
# grey (obstacles, wrecks, puddles and meteorites are coloured or dark).
shot="$scratch/look.ppm"
look() {
  import -window "$window" "$shot" 2>/dev/null || return 1
  local carx
  carx=$(convert "$shot" -crop 580x120+110+340 +repage -filter box -resize 58x1\! -depth 8 txt:- |
    awk 'NR > 1 { split($1, a, /[,:]/); gsub(/[()]/, "", $2); split($2, c, ",")
                  red = c[1] - (c[2] + c[3]) / 2; if (red > best) { best = red; x = a[1] } }
         END { print 110 + x * 10 + 5 }')
  convert "$shot" -crop 576x320+112+20 +repage -filter box -resize 12x10\! -depth 8 txt:- |
    awk -v carx="$carx" '
      NR > 1 { split($1, a, /[,:]/); gsub(/[()]/, "", $2); split($2, c, ",")
               lo = c[1]; hi = c[1]
               for (i = 2; i <= 3; i++) { if (c[i] < lo) lo = c[i]; if (c[i] > hi) hi = c[i] }
               d = hi - lo + (lo < 185 ? 185 - lo : 0); if (d > col[a[1]]) col[a[1]] = d }
      END { printf "%d", carx; for (i = 0; i < 12; i++) printf " %d", col[i]; printf "\n" }'
}
# The danger of driving at x: the worst of the columns the car's 60 px cover.
danger() {
  local a=$(((${1} - 142) / 48)) b=$(((${1} - 82) / 48)) m=0 i
  ((a < 0)) && a=0
  ((b > 11)) && b=11
  for ((i = a; i <= b; i++)); do ((col[i] > m)) && m=${col[i]}; done
  echo "$m"
}
# One look and one move: where the car's way is blocked, it steers for the
# lane (or the gap between two) that is clearest and clear to reach.
drive() {
  local carx c here target best cand way x w score dx
  read -r carx c < <(look) || return 0
  read -r -a col <<<"$c"
  ((${#col[@]} == 12)) || return 0
  here=$(danger "$carx")
  target=$carx
  if ((here > 35)); then
    best=9999
    for cand in 185 330 475 620 150 260 400 540 650; do
      local lo=$carx hi=$cand
      ((lo > hi)) && { lo=$cand; hi=$carx; }
      way=0
      for ((x = lo; x <= hi; x += 48)); do
        w=$(danger "$x")
        ((w > way)) && way=$w
      done
      score=$(($(danger "$cand") + way / 2 + (hi - lo) / 20))
      ((score < best)) && { best=$score; target=$cand; }
    done
  fi
  # The car moves sideways at about its speed, 14 px a frame at the top:
  # a press as long as the way needs.
  dx=$((target - carx))
  if ((dx > 12 || dx < -12)); then
    local key=Right
    ((dx < 0)) && { key=Left; dx=$((-dx)); }
    xdotool keydown "$key"
    sleep "$(awk -v d="$dx" 'BEGIN { printf "%.3f", d / 900 }')"
    xdotool keyup "$key"
  fi
}

race_ms=0        # race played, in ms
longest_ms=0     # the longest single race
race_from=0      # when the present race (or its last stretch) began, ms
last=0
races=0
next_stop=0
next_question=0
target_ms=$((seconds * 1000))
# At least one race must last three minutes, so the play goes on past
# SECONDS until one has.
min_race_ms=180000
deadline=$((SECONDS + seconds * 3 + 900))
now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }
this_race=0
# Whether the play has been long enough: SECONDS of race, one race of three
# minutes among them.
enough() {
  local running=$((last == 3 ? $(now_ms) - race_from : 0)) longest=$longest_ms
  ((this_race + running > longest)) && longest=$((this_race + running))
  ((race_ms + running >= target_ms && longest >= min_race_ms))
}
while ! enough; do
  if ((SECONDS >= deadline)); then
    # What was recorded can still be measured by hand (tools/soundmeter).
    if [ -n "${BD_KEEP_RECORDING:-}" ]; then
      cp "$recording" "$BD_KEEP_RECORDING"
      cp "$log" "$BD_KEEP_RECORDING.frames"
    fi
    die "only $((race_ms / 1000)) s of race, the longest $((longest_ms / 1000)) s, in the time allowed"
  fi
  kill -0 "$pid" 2>/dev/null || die "the game ended: $(cat "$scratch/game.txt")"
  now=$(screen)
  if ((now != last)); then
    t=$(now_ms)
    if ((last == 3)); then
      race_ms=$((race_ms + t - race_from))
      this_race=$((this_race + t - race_from))
      xdotool keyup Up
    fi
    if ((now == 3)); then
      # Foot down for the whole race: the lava follows a slow car.
      ((last == 9 || last == 2)) && { races=$((races + 1)); this_race=0; }
      race_from=$t
      next_stop=$((t + 11000))
      next_question=$((t + 40000))
      xdotool keydown Up
    fi
    ((this_race > longest_ms)) && longest_ms=$this_race
    last=$now
    screen_since=$t
  fi
  case $now in
    1 | 2)
      xdotool key Return
      sleep 1
      ;;
    6)
      xdotool key Escape
      sleep 1
      ;;
    9)
      sleep 1
      (($(now_ms) - screen_since > 6000)) && xdotool type a && xdotool key Return
      ;;
    3)
      t=$(now_ms)
      if ((t > next_stop)); then
        xdotool key Return # a stop charge, if there is one
        next_stop=$((t + 11000))
      elif ((t > next_question)); then
        xdotool key Escape # the question opens and is answered "no"
        sleep 1.5
        xdotool key Escape
        next_question=$((t + 40000))
      else
        drive
      fi
      ;;
    *) sleep 0.25 ;;
  esac
done
if ((last == 3)); then
  t=$(now_ms)
  race_ms=$((race_ms + t - race_from))
  this_race=$((this_race + t - race_from))
  ((this_race > longest_ms)) && longest_ms=$this_race
  xdotool keyup Up
fi
sleep 1
stop_processes

[ -s "$recording" ] || die "nothing was recorded"
if [ -n "${BD_KEEP_RECORDING:-}" ]; then
  cp "$recording" "$BD_KEEP_RECORDING"
  cp "$log" "$BD_KEEP_RECORDING.frames"
fi
echo "Race time: $(((race_ms + 500) / 1000)) s in $races race(s), the longest $((longest_ms / 1000)) s; levels completed: $(grep -c '^sound applaus ' "$log" || true)"
echo "sox stats of the whole recording:"
sox -t raw -r 44100 -e signed -b 16 -c 2 "$recording" -n stats 2>&1 |
  grep -E '^(Pk lev dB|RMS lev dB|RMS Pk dB|Flat factor|Pk count|Length s)' | sed 's/^/  /'
"$build/tools/soundmeter/soundmeter" "$recording" "$log" "$scratch/Data/Sound.dxw"
