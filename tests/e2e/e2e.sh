#!/usr/bin/env bash
# End-to-end checks of the real game binary: a virtual X server (Xvfb) with
# the openbox window manager, the game started in a scratch directory that
# links the built data, driven only from outside with xdotool (keys, pointer
# moves and clicks), and judged from screenshots, the window's caption and
# geometry, the settings file it writes, the sound it sends to SDL's disk
# audio driver and its exit status.
#
# Usage: e2e.sh SCENARIO RUN_DIR DXGTOOL WORK_DIR
#   SCENARIO  first-start | race | full-screen | exit-screen | sound |
#             online-score | keys-only (no pointer at all) |
#             large-screen (a 3840x2160 screen)
#   RUN_DIR   the built run directory (the game binary, Data/, Music/, pdata/)
#   DXGTOOL   the archive tool, used to extract the pictures to compare with
#   WORK_DIR  scratch directory; removed on success, kept on failure with
#             the screenshots and logs
#
# Every wait polls with a generous timeout (multiplied by BD_E2E_TIME_SCALE,
# default 1), so a loaded machine slows the run down instead of failing it.
# Xvfb, openbox and the game are stopped on every way out.
set -uo pipefail
export LC_ALL=C

scenario=${1:?usage: e2e.sh SCENARIO RUN_DIR DXGTOOL WORK_DIR}
run_dir=$(cd "${2:?run directory}" && pwd)
dxgtool=${3:?archive tool}
work=${4:?work directory}
time_scale=${BD_E2E_TIME_SCALE:-1}
# The virtual screen: an old 4:3 monitor, or a 4K one for the large-screen run.
screen_size=1024x768
[ "$scenario" != large-screen ] || screen_size=3840x2160

xvfb_pid=
wm_pid=
game_pid=
server_pid=
# The game reports to a score server of the test's own, never to the one a
# player's game may be running on the port the game was built for: port 1,
# where nobody listens, unless a scenario starts a server on a free port.
score_port=1
window=
check_name="setting up"
checks_passed=0
started_ms=0

# ---- reporting and processes ------------------------------------------------

now_ms() {
  local t=${EPOCHREALTIME/./}
  echo $((t / 1000))
}

seconds_since_start() {
  awk -v ms=$(($(now_ms) - started_ms)) 'BEGIN { printf "%.1f", ms / 1000 }'
}

check() {
  check_name=$1
}

# Optional: a measured figure to show with the check.
pass() {
  checks_passed=$((checks_passed + 1))
  echo "ok   $check_name${1:+ ($1)}  [$(seconds_since_start) s]"
}

fail() {
  echo "FAIL $check_name: $*" >&2
  exit 1
}

stop_pid() {
  local pid=$1 i
  [ -n "$pid" ] || return 0
  if kill -TERM "$pid" 2>/dev/null; then
    for i in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null
  fi
  wait "$pid" 2>/dev/null
  return 0
}

teardown() {
  local status=$?
  trap - EXIT INT TERM
  if [ "$status" -ne 0 ] && [ -n "$window" ] && [ -n "${DISPLAY:-}" ]; then
    import -window "$window" "$work/shots/at-failure.png" 2>/dev/null
  fi
  [ -z "${DISPLAY:-}" ] || xdotool keyup Up Down Left Right 2>/dev/null
  stop_pid "$snapper_pid"
  stop_pid "$game_pid"
  stop_pid "${server_pid:-}"
  stop_pid "$wm_pid"
  stop_pid "$xvfb_pid"
  if [ "$status" -eq 0 ] && [ -f "$work/game.log" ] &&
    grep -qE 'ERROR: AddressSanitizer|runtime error:' "$work/game.log"; then
    echo "FAIL $scenario: the game reported a sanitizer error" >&2
    status=1
  fi
  if [ "$status" -eq 0 ]; then
    rm -rf "$work"
    echo "e2e $scenario: $checks_passed checks passed in $(seconds_since_start) s"
  else
    if [ -s "$work/game.log" ]; then
      echo "--- the game's output (last lines):" >&2
      tail -n 30 "$work/game.log" >&2
    fi
    echo "e2e $scenario: failed; screenshots and logs are kept in $work" >&2
  fi
  exit "$status"
}
trap teardown EXIT
trap 'exit 130' INT TERM

# Runs "$@" until it succeeds or SECONDS (times the scale) have passed.
wait_for() {
  local seconds=$1
  shift
  local deadline=$(($(now_ms) + seconds * 1000 * time_scale))
  while :; do
    "$@" && return 0
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# The negation of "$@", for wait_for.
not() {
  ! "$@"
}

# True when the number A is greater than the number B (decimals allowed).
greater() {
  awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'
}

game_alive() {
  kill -0 "$game_pid" 2>/dev/null
}

# ---- screenshots and pictures -----------------------------------------------

shot_no=0
last_shot=
# Screenshot of the game window's client area, or of the part GEOMETRY
# (WxH+X+Y) of it, into $last_shot.
shot() {
  shot_no=$((shot_no + 1))
  last_shot=$(printf '%s/shots/%03d-%s.png' "$work" "$shot_no" "$1")
  if [ -n "${2:-}" ]; then
    import -window "$window" -crop "$2" +repage "$last_shot" 2>/dev/null
  else
    import -window "$window" "$last_shot" 2>/dev/null
  fi
}

declare -A picture_size
# Pixels that differ between the part of SHOT at X,Y (the size of the
# picture FILE, from picture_size) and that part with FILE drawn over it:
# only the picture's own pixels can differ, those of its transparent colour
# (fuchsia) let the screenshot through.
picture_diff() {
  local shot=$1 file=$2 x=$3 y=$4
  convert "${shot}[${picture_size[$file]}+$x+$y]" +repage \
    \( +clone "$file" -transparent '#FF00FF' -composite \) \
    -fuzz 6% -metric AE -compare -format '%[distortion]' info: 2>/dev/null
}

# True when SHOT shows the picture FILE at X,Y: at most 1% of it differs.
picture_at() {
  local diff size
  [ -n "${picture_size[$2]:-}" ] || picture_size[$2]=$(identify -format '%wx%h' "$2")
  diff=$(picture_diff "$@") || return 1
  size=${picture_size[$2]}
  [ "${diff%.*}" -le $((${size%x*} * ${size#*x} / 100)) ]
}

# Takes a screenshot NAME: true when it shows the picture FILE at X,Y.
shows_picture() {
  shot "$1"
  picture_at "$last_shot" "$2" "$3" "$4"
}

# Pixels that differ between two screenshots of the same size.
shots_diff() {
  compare -metric AE -fuzz 2% "$1" "$2" null: 2>&1 >/dev/null | sed 's/\..*//'
}

# A picture that shows for a moment only (the level caption) is watched by
# a background loop that takes screenshots as fast as it can, while the
# checks, however slow on a loaded machine, go through them one by one.
snapper_pid=
snap_name=
start_snapper() {
  snap_name=$1
  local geometry=${2:-} i=0
  rm -f "$work/snapper.stop"
  (
    while [ ! -e "$work/snapper.stop" ]; do
      i=$((i + 1))
      if [ -n "$geometry" ]; then
        import -window "$window" -crop "$geometry" +repage "$work/snap.png" 2>/dev/null
      else
        import -window "$window" "$work/snap.png" 2>/dev/null
      fi
      mv "$work/snap.png" "$(printf '%s/shots/%s-%04d.png' "$work" "$snap_name" "$i")" 2>/dev/null
    done
  ) &
  snapper_pid=$!
}

# Lets the loop finish its screenshot and end.
stop_snapper() {
  touch "$work/snapper.stop"
  wait_for 20 not kill -0 "$snapper_pid" 2>/dev/null
  stop_pid "$snapper_pid"
  snapper_pid=
  rm -f "$work/snap.png"
}

# Runs TEST on the oldest background screenshot not tested yet, so none is
# skipped however far the checks lag behind (false when there is none).
# The screenshot stays as $last_shot when it passes and is removed when not.
snap_shows() {
  local oldest
  oldest=$(printf '%s\n' "$work/shots/$snap_name"-*.png | head -1)
  [ -e "$oldest" ] || return 1
  last_shot=$oldest
  "$@" "$last_shot" && return 0
  rm -f "$oldest"
  return 1
}

# True when two screenshots look alike once scaled to the same size: the
# root mean square of their difference is under 8% of the full scale.
alike() {
  local rmse
  rmse=$(convert "$1" \( "$2" -resize "$(identify -format '%wx%h!' "$1")" \) \
    -metric RMSE -compare -format '%[distortion]' info: 2>/dev/null) || return 1
  greater 0.08 "$rmse"
}

# Takes a screenshot NAME: true when it looks like the screenshot REFERENCE.
looks_like() {
  shot "$1"
  alike "$2" "$last_shot"
}

# Dark (text-black) pixels of a screenshot.
dark_pixels() {
  convert "$1" -colorspace gray -threshold 12% -negate -format '%[fx:round(mean*w*h)]' info:
}

# ---- the X server, the window manager and the game --------------------------

start_x() {
  check "virtual X server and window manager start"
  local tool
  for tool in Xvfb openbox xdotool xprop import convert compare identify sox; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
  done
  : >"$work/display"
  # -displayfd picks a free display number and writes it once it listens.
  # No key repeat: on a busy machine xdotool's key release can come late,
  # and a repeated key would act twice (P pausing and resuming, Enter leaving
  # the splash and then starting a race).
  Xvfb -displayfd 3 -screen 0 "${screen_size}x24" -nolisten tcp -noreset -r -ardelay 60000 \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  wait_for 30 grep -qE '^[0-9]+$' "$work/display" || fail "Xvfb did not come up: $(tail -3 "$work/xvfb.log")"
  DISPLAY=":$(head -1 "$work/display")"
  export DISPLAY
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  wait_for 30 wm_running || fail "openbox did not take over the display $DISPLAY"
  pass
}

wm_running() {
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# The pictures of both image archives, to compare the screenshots with, and
# the splash as it should look: its background with the logo in the middle.
extract_pictures() {
  "$dxgtool" extract "$run_dir/Data/GraphicsMenu.dxg" "$work/menu" >/dev/null ||
    fail "the menu pictures could not be extracted"
  "$dxgtool" extract "$run_dir/Data/GraphicsMain.dxg" "$work/main" >/dev/null ||
    fail "the race pictures could not be extracted"
  convert "$work/menu/mySplash_fon.png" \( "$work/menu/logo_loading.png" -transparent '#FF00FF' \) \
    -geometry +140+170 -composite "$work/splash.png" || fail "the splash picture could not be composed"
}

find_window() {
  window=$(xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null | head -1)
  [ -n "$window" ]
}

window_active() {
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ]
}

# A loopback port nothing answers on: a connection there is refused.
free_port() {
  local port
  while :; do
    port=$((20000 + RANDOM % 40000))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port"
      return
    fi
  done
}

# Starts the game in its own directory, with the built data linked in and
# its sound going to a raw file, and waits for its window to be shown and
# active (the game only runs frames while it is the active application).
start_game() {
  check "the game starts and shows its window"
  mkdir -p "$work/game" "$work/bin"
  local d
  for d in Data Music pdata; do
    ln -s "$run_dir/$d" "$work/game/$d"
  done
  # What the game hands to the desktop to open is written down, not opened.
  printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$work/opened.txt" >"$work/bin/xdg-open"
  chmod +x "$work/bin/xdg-open"
  : >"$work/opened.txt"
  (
    cd "$work/game" &&
      exec env PATH="$work/bin:$PATH" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/sound.raw" \
        BUMPERDASH_SCORE_SERVER="http://127.0.0.1:$score_port" \
        ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" "$run_dir/bumperdash"
  ) >"$work/game.log" 2>&1 &
  game_pid=$!
  wait_for 60 find_window || fail "no game window appeared (the game is $(game_alive && echo running || echo gone))"
  xdotool windowactivate "$window" 2>/dev/null
  wait_for 20 window_active || fail "the game window did not get the focus"
  pass
}

caption() {
  xdotool getwindowname "$window" 2>/dev/null
}

caption_is() {
  [ "$(caption)" = "$1" ]
}

geometry() {
  local WIDTH='' HEIGHT='' X='' Y=''
  eval "$(xdotool getwindowgeometry --shell "$window" 2>/dev/null | grep -E '^(WIDTH|HEIGHT|X|Y)=[0-9-]+$')"
  echo "${WIDTH}x${HEIGHT}+${X}+${Y}"
}

size_is() {
  local g
  g=$(geometry)
  [ "${g%%+*}" = "$1" ]
}

geometry_is() {
  [ "$(geometry)" = "$1" ]
}

# ---- screens ------------------------------------------------------------------

is_splash() {
  local diff
  diff=$(compare -metric AE -fuzz 6% "$1" "$work/splash.png" null: 2>&1 >/dev/null)
  [ "${diff%.*}" -le 4800 ] 2>/dev/null
}

# Compares a row of the window, as ImageMagick's text enumeration on the
# input, with the same row of the picture enumerated in FILE: prints how
# many pixels match (each channel within 16) and how many are drawn at all
# (not black).
row_match() {
  awk -F'[(),: ]+' '
    NR == FNR { if (FNR > 1) { r[$1] = $3; g[$1] = $4; b[$1] = $5 } next }
    FNR > 1 {
      if ($3 + $4 + $5 > 30) drawn++
      dr = $3 - r[$1]; dg = $4 - g[$1]; db = $5 - b[$1]
      if (dr * dr <= 256 && dg * dg <= 256 && db * db <= 256) matching++
    }
    END { print matching + 0, drawn + 0 }' "$1" -
}

# The first picture of the game, told from one row across the middle of
# the window (a quick look, since the splash may show for a moment only):
# $first_screen becomes "splash" or "other"; false while nothing is drawn.
first_picture_seen() {
  local matching drawn
  read -r matching drawn < <(import -window "$window" -crop 800x1+0+300 +repage -depth 8 txt:- 2>/dev/null |
    row_match "$work/splash-row.txt")
  if [ "${matching:-0}" -ge 760 ]; then
    first_screen=splash
  elif [ "${drawn:-0}" -ge 400 ]; then
    first_screen=other
  else
    return 1
  fi
}

menu_in_last_shot() {
  picture_at "$last_shot" "$work/menu/Start Game_n.png" 514 118 &&
    picture_at "$last_shot" "$work/menu/Exit_n.png" 514 468 &&
    not picture_at "$last_shot" "$work/menu/Options_Back_n.png" 187 523
}

main_menu_shown() {
  shot menu
  menu_in_last_shot
}

race_in_last_shot() {
  picture_at "$last_shot" "$work/main/m_speed.png" 5 80
}

menu_or_race_shown() {
  shot menu-or-race
  menu_in_last_shot || race_in_last_shot
}

# The splash leaves by itself after four seconds.
reach_main_menu() {
  check "the game reaches the main menu"
  wait_for 40 main_menu_shown || fail "the main menu never showed ($last_shot)"
  caption_is "Bumper Dash" || fail "the caption is '$(caption)', not 'Bumper Dash'"
  pass
}

# The black caption "Уровень 1" in the middle of the road.
level_caption_area=300x60+250+225

is_level_caption() {
  [ "$(dark_pixels "$1")" -gt 300 ]
}

level_caption_shown() {
  shot level-caption "$level_caption_area"
  is_level_caption "$last_shot"
}

# Enter on the main menu: the race starts with the two seconds of its level
# caption; returns once the caption has gone.
enter_race() {
  start_snapper level-caption "$level_caption_area"
  xdotool key Return
  wait_for 20 snap_shows is_level_caption || { stop_snapper; fail "no level caption appeared ($last_shot)"; }
  stop_snapper
  wait_for 20 not level_caption_shown || fail "the level caption did not go away ($last_shot)"
}

paused_text_shown() {
  shot paused 170x50+330+265
  [ "$(dark_pixels "$last_shot")" -gt 250 ]
}

# The striped left edge of the road, left of where any car can be, below
# the head-up display and above where the chasm climbs to: it moves with the
# road and nothing else.
road_edge=20x190+80+210

# How many pixels of the road edge change within $1 seconds.
road_change() {
  local a
  shot road-a "$road_edge"
  a=$last_shot
  sleep "$1"
  shot road-b "$road_edge"
  shots_diff "$a" "$last_shot"
}
road_moves() { [ "$(road_change 0.2)" -gt 50 ]; }
road_stands() { [ "$(road_change 0.3)" -eq 0 ]; }

# Where the player's red car is in the band it drives in: the first column
# of the band that is red in more than a quarter of its height (the car's
# body; the red tail lights of other cars are far smaller), into $car_x.
# False while no such column is there (the car blinks at a life's start).
car_seen() {
  local column
  shot car 576x140+112+370
  column=$(convert "$last_shot" \
    \( -clone 0 -channel R -separate +channel -threshold 55% \) \
    \( -clone 0 -channel G -separate +channel -threshold 30% -negate \) \
    \( -clone 0 -channel B -separate +channel -threshold 30% -negate \) \
    -delete 0 -compose multiply -flatten -scale '576x1!' -depth 8 txt:- |
    awk -F'[,:() ]+' 'NR > 1 && $4 > 64 { print $1; exit }')
  [ -n "$column" ] || return 1
  car_x=$((column + 112))
}

car_left_of() {
  car_seen && [ "$car_x" -lt "$1" ]
}

car_right_of() {
  car_seen && [ "$car_x" -gt "$1" ]
}

# Holds KEY until the car has moved 60 pixels that way.
steer() {
  local key=$1 from=$car_x
  xdotool keydown "$key"
  if [ "$key" = Left ]; then
    wait_for 20 car_left_of $((from - 60)) || fail "Left did not move the car from x $from ($last_shot)"
  else
    wait_for 20 car_right_of $((from + 60)) || fail "Right did not move the car from x $from ($last_shot)"
  fi
  xdotool keyup "$key"
}

confirmation_shown() {
  shot confirmation
  picture_at "$last_shot" "$1/Exit_Main_Word.png" 188 195
}

# ---- the settings file --------------------------------------------------------

config_written() {
  [ -f "$work/game/Config.cfg" ] && [ "$(wc -l <"$work/game/Config.cfg")" -ge 25 ]
}

# Decodes every line of a settings file (symbols of a 32-letter alphabet,
# five bits each, the bits padded in front to whole bytes) into hex.
decode_settings() {
  awk '{
    sub(/\r$/, "")
    alphabet = "QWERTYUPASDFGHJKLZXCVBNM23456789"
    bits = ""
    for (i = 1; i <= length($0); i++) {
      v = index(alphabet, substr($0, i, 1)) - 1
      if (v < 0) continue
      for (b = 4; b >= 0; b--) bits = bits (int(v / 2 ^ b) % 2)
    }
    while (length(bits) % 8) bits = "0" bits
    out = ""
    for (i = 1; i <= length(bits); i += 8) {
      v = 0
      for (b = 0; b < 8; b++) v = v * 2 + substr(bits, i + b, 1)
      out = out sprintf("%02x", v)
    }
    print out
  }' "$1"
}

# Hex of the bytes of an ASCII text.
hex_of() {
  local text=$1 i out=
  for ((i = 0; i < ${#text}; i++)); do
    printf -v out '%s%02x' "$out" "'${text:i:1}"
  done
  echo "$out"
}

# The hex of the country line of the settings file, and whether it holds
# the text $1 (the line pads the text with "%" to whole groups of five).
saved_country_hex() {
  decode_settings "$work/game/Config.cfg" | sed -n 4p
}

country_saved_is() {
  [[ "$(saved_country_hex)" == "$(hex_of "$1")"* ]]
}

check_default_settings() {
  check "Config.cfg appears with the 25 default lines"
  wait_for 30 config_written || fail "no Config.cfg with 25 lines was written"
  local file="$work/game/Config.cfg" expected=() decoded=() i n score padded
  n=$(wc -l <"$file")
  [ "$n" -eq 25 ] || fail "Config.cfg has $n lines instead of 25"
  [ "$(grep -c $'\r$' "$file")" -eq 25 ] || fail "not every line of Config.cfg ends with CR LF"
  # Full screen off, music on, sound on ("true" comes back with a zero byte
  # in front), no country, no name, then the ten default entries: the name
  # "Гонщик" (Windows-1251) and the scores 3000 down to 100, each padded
  # with "%" to a multiple of five characters.
  expected=("$(hex_of false)" "00$(hex_of true)" "00$(hex_of true)" "" "")
  for score in 3000 2500 2000 1500 1000 500 400 300 200 100; do
    padded=$score
    while [ $((${#padded} % 5)) -ne 0 ]; do padded="$padded%"; done
    expected+=("c3eeedf9e8ea25252525" "$(hex_of "$padded")")
  done
  mapfile -t decoded < <(decode_settings "$file")
  for ((i = 0; i < 25; i++)); do
    [ "${decoded[$i]}" = "${expected[$i]}" ] ||
      fail "line $((i + 1)) of Config.cfg decodes to '${decoded[$i]}' instead of '${expected[$i]}'"
  done
  pass
}

# ---- sound --------------------------------------------------------------------

# The game opens its sound device for 44100 Hz, signed 16-bit, stereo; the
# disk driver writes exactly that, in real time.
sound_frames() {
  echo $(($(stat -c %s "$work/sound.raw" 2>/dev/null || echo 0) / 4))
}

sound_written() {
  [ "$(sound_frames)" -ge "$1" ]
}

# Waits until SECONDS of sound after frame FROM have been written.
wait_sound() {
  local target=$(($1 + $2 * 44100))
  wait_for $((10 + $2)) sound_written "$target" || fail "the sound output stalled"
}

# RMS amplitude (0 to 1) of SECONDS of the captured sound from frame FROM.
sound_rms() {
  sox -t raw -r 44100 -e signed-integer -b 16 -c 2 -L "$work/sound.raw" -n trim "$1s" "$(($2 * 44100))s" stat 2>&1 |
    awk '/^RMS +amplitude/ { print $3 }'
}

# ---- scenarios ----------------------------------------------------------------

# The first start: the splash, the settings file, Enter, a menu highlight.
# The splash leaves by itself four seconds after start-up began: on a slow
# machine it can be gone before the Enter arrives, or before the first
# frame is drawn. Either starts the game afresh, three times at most.
scenario_first_start() {
  local attempt first_screen
  convert "$work/splash.png" -crop 800x1+0+300 +repage -depth 8 txt:- >"$work/splash-row.txt"
  for attempt in 1 2 3; do
    start_game
    check "the splash shows on the first start"
    wait_for 40 first_picture_seen || fail "the window stays black"
    if [ "$first_screen" = splash ]; then
      # The whole picture, just before the Enter.
      shot splash
      xdotool key Return
      if is_splash "$last_shot"; then
        pass
        check "Enter leaves the splash for the main menu"
        wait_for 20 menu_or_race_shown || fail "Enter did not lead to the main menu ($last_shot)"
        # A menu that was there before the Enter came turns into a race.
        sleep 1.5
        wait_for 20 menu_or_race_shown || fail "neither the main menu nor a race is shown ($last_shot)"
        menu_in_last_shot && break
      fi
      [ "$attempt" -lt 3 ] || fail "Enter came after the splash had gone in three attempts ($last_shot)"
      echo "note: the splash had gone before Enter arrived; starting afresh"
    else
      shot first-picture
      menu_in_last_shot || fail "the first picture is neither the splash nor the main menu ($last_shot)"
      [ "$attempt" -lt 3 ] ||
        fail "three times the main menu came first: the start-up took longer than the splash's four seconds"
      echo "note: the main menu came first, the start-up took longer than the splash's four seconds; starting afresh"
    fi
    stop_pid "$game_pid"
    game_pid=
    rm -rf "$work/game" "$work/sound.raw"
  done
  caption_is "Bumper Dash" || fail "the caption is '$(caption)', not 'Bumper Dash'"
  pass

  check_default_settings

  check "the pointer over 'Start Game' shows its highlight"
  xdotool mousemove --window "$window" 300 560
  sleep 0.3
  shot before-hover
  local plain=$last_shot
  picture_at "$plain" "$work/menu/Start Game_n.png" 514 118 || fail "the item is not shown plain before ($plain)"
  xdotool mousemove --window "$window" 640 145
  wait_for 10 shows_picture hover "$work/menu/Start Game_d.png" 514 118 ||
    fail "the highlight picture did not appear over the item ($last_shot)"
  local changed
  changed=$(shots_diff "${plain}[256x55+514+118]" "${last_shot}[256x55+514+118]")
  [ "$changed" -gt 500 ] || fail "only $changed pixels of the item changed under the pointer"
  xdotool mousemove --window "$window" 300 560
  wait_for 10 shows_picture unhover "$work/menu/Start Game_n.png" 514 118 ||
    fail "the highlight stayed after the pointer left ($last_shot)"
  pass
}

# A race: caption, pause, the exit confirmation answered No, then driving.
scenario_race() {
  start_game
  reach_main_menu

  check "Enter starts a race with the caption of level 1"
  enter_race
  pass

  # The car stands at first: nothing comes down the road and the chasm
  # waits, so the pause and the confirmation are tried before driving.
  check "P pauses the race with 'Пауза' shown"
  xdotool key p
  wait_for 10 paused_text_shown || fail "no 'Пауза' text appeared ($last_shot)"
  pass

  check "P again resumes the race"
  xdotool key p
  wait_for 10 not paused_text_shown || fail "the 'Пауза' text stayed ($last_shot)"
  pass

  check "Escape opens the exit confirmation, caption 'Bumper Dash [Пауза]'"
  xdotool key Escape
  wait_for 10 caption_is "Bumper Dash [Пауза]" || fail "the caption is '$(caption)', not 'Bumper Dash [Пауза]'"
  wait_for 10 confirmation_shown "$work/main" || fail "the confirmation's question is not shown ($last_shot)"
  pass

  check "the No answer closes the confirmation"
  xdotool mousemove --window "$window" 487 368 click 1
  wait_for 10 caption_is "Bumper Dash" || fail "the caption is '$(caption)', not 'Bumper Dash'"
  wait_for 10 not confirmation_shown "$work/main" || fail "the confirmation is still shown ($last_shot)"
  pass

  check "the race runs again: the road scrolls under held Up"
  xdotool keydown Up
  wait_for 20 road_moves || fail "two screenshots of the road do not differ with Up held ($last_shot)"
  pass

  check "Left and Right move the car"
  # Up stays held: past speed 2 the car stops blinking.
  wait_for 20 car_seen || fail "the red car is not to be seen ($last_shot)"
  if [ "$car_x" -gt 300 ]; then
    steer Left
    steer Right
  else
    steer Right
    steer Left
  fi
  pass

  check "a pause while driving stops the road"
  xdotool key p
  wait_for 10 paused_text_shown || fail "no 'Пауза' text appeared ($last_shot)"
  wait_for 10 road_stands || fail "the road still scrolls while paused ($last_shot)"
  xdotool key p
  wait_for 10 road_moves || fail "the road does not scroll after the pause ($last_shot)"
  xdotool keyup Up
  pass
}

# Maximises the window (the game then takes the full screen), leaves full
# screen with Alt+Enter and expects the window's client area back at
# GEOMETRY, and still there a moment later: the window manager frames the
# window again after the game has placed it.
maximise_and_return() {
  wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz || fail "the window manager was not asked to maximise"
  wait_for 20 size_is "$screen" || fail "the window is $(geometry), not the whole $screen screen"
  wait_for 10 looks_like full-screen "$menu_shot" || fail "the menu is not drawn over the whole screen ($last_shot)"
  xdotool key alt+Return
  wait_for 20 geometry_is "$1" || fail "the window came back at $(geometry) instead of $1"
  sleep 1
  geometry_is "$1" || fail "the window moved on to $(geometry) from $1"
}

scenario_full_screen() {
  start_game
  reach_main_menu
  local windowed screen round
  windowed=$(geometry)
  local menu_shot=$last_shot
  screen=$(xdotool getdisplaygeometry | tr ' ' x)
  [ "${windowed%%+*}" = 800x600 ] || fail "the window is $windowed, not 800x600"
  for round in 1 2; do
    check "Alt+Enter switches to full screen (round $round)"
    xdotool key alt+Return
    wait_for 20 size_is "$screen" || fail "the window is $(geometry), not the whole $screen screen"
    wait_for 10 looks_like full-screen "$menu_shot" ||
      fail "the menu is not drawn over the whole screen ($last_shot)"
    pass
    check "Alt+Enter brings back the 800x600 window where it was (round $round)"
    xdotool key alt+Return
    wait_for 20 size_is 800x600 || fail "the window is $(geometry), not 800x600"
    wait_for 10 geometry_is "$windowed" || fail "the window came back at $(geometry) instead of $windowed"
    wait_for 10 main_menu_shown || fail "the main menu is not drawn in the window again ($last_shot)"
    pass
  done

  check "maximising the window switches to full screen; Alt+Enter gives the window back where it was"
  maximise_and_return "$windowed"
  wait_for 10 main_menu_shown || fail "the main menu is not drawn in the window again ($last_shot)"
  pass

  check "a window the player moved comes back to its new place after maximise, full screen and Alt+Enter"
  local moved
  xdotool windowmove "$window" 40 30
  wait_for 10 not geometry_is "$windowed" || fail "the window manager did not move the window"
  moved=$(geometry)
  # A person's pause between moving the window and maximising it.
  sleep 1
  maximise_and_return "$moved"
  pass

  check "typing into the country field goes on across both switches"
  xdotool mousemove --window "$window" 640 215 click 1
  wait_for 10 shows_picture options "$work/menu/Options_Back_n.png" 187 523 ||
    fail "the options screen did not open ($last_shot)"
  # The field takes a character every third frame and drops one that comes
  # sooner. A sanitised build just back from a switch may draw a frame in
  # 100 ms, so the letters go at a slow person's pace, 400 ms apart, and the
  # last one has as long before Escape leaves the screen.
  # The letters go as the keys of the US layout that carry them: "xdotool
  # type" may lend a spare key code to a letter and take it back before a
  # busy game has read it, and the letter then arrives as another one.
  xdotool key --delay 400 shift+r u
  xdotool key alt+Return
  wait_for 20 size_is "$screen" || fail "the window is $(geometry), not the whole $screen screen"
  xdotool key --delay 400 s
  xdotool key alt+Return
  wait_for 20 size_is 800x600 || fail "the window is $(geometry), not 800x600"
  xdotool key --delay 400 i a
  sleep 0.4
  xdotool key Escape
  wait_for 10 country_saved_is Rusia ||
    fail "the country saved decodes to '$(saved_country_hex)', not 'Rusia' ($(hex_of Rusia), padded)"
  pass
}

exit_button_is() {
  shot exit-button 220x64+510+470
  picture_at "$last_shot" "$run_dir/pdata/$1.bmp" 0 0
}

read_button_is() {
  shot read-button 220x64+70+470
  picture_at "$last_shot" "$run_dir/pdata/$1.bmp" 0 0
}

scenario_exit_screen() {
  start_game
  reach_main_menu

  check "Escape on the main menu opens the exit confirmation"
  xdotool key Escape
  wait_for 10 caption_is "Bumper Dash [Пауза]" || fail "the caption is '$(caption)', not 'Bumper Dash [Пауза]'"
  wait_for 10 confirmation_shown "$work/menu" || fail "the confirmation's question is not shown ($last_shot)"
  pass

  check "Yes shows the exit screen with its exit button disabled"
  local yes_ms
  xdotool mousemove --window "$window" 313 368 click 1
  yes_ms=$(now_ms)
  # Straight onto the exit button, to catch it within the countdown.
  xdotool mousemove --window "$window" 620 500
  wait_for 10 exit_button_is exit_d || fail "the exit button is not shown disabled after Yes ($last_shot)"
  pass

  check "a click on the exit button during the countdown does nothing"
  xdotool click 1
  sleep 0.5
  game_alive || fail "the game ended during the countdown"
  find_window || fail "the window went away during the countdown"
  pass

  check "the exit screen shows its backdrop"
  # Its top: the buttons and the countdown are further down.
  convert "$run_dir/pdata/back.jpg" -crop 800x380+0+0 +repage "$work/backdrop-top.png"
  wait_for 10 shows_picture exit-screen "$work/backdrop-top.png" 0 0 ||
    fail "the exit screen's picture is not shown ($last_shot)"
  pass

  check "the exit button turns active when the 5 s countdown ends, not before"
  wait_for 30 exit_button_is exit_h || fail "the exit button never turned active under the pointer ($last_shot)"
  local waited=$(($(now_ms) - yes_ms))
  [ "$waited" -ge 4500 ] || fail "the exit button was active $waited ms after Yes"
  game_alive || fail "the game ended on its own"
  pass

  check "hover and clicks follow absolute pointer jumps between the buttons"
  # Jumps as remote desktops and tablets make them: straight onto the
  # readme button, whose click opens the readme, then back onto the exit.
  xdotool mousemove --window "$window" 180 500
  wait_for 10 read_button_is read_h || fail "the readme button is not highlighted under the pointer ($last_shot)"
  xdotool click 1
  wait_for 10 grep -q 'readme.txt$' "$work/opened.txt" ||
    fail "the click on the readme button opened '$(cat "$work/opened.txt")'"
  game_alive || fail "the game ended on a click on the readme button"
  xdotool mousemove --window "$window" 620 500
  wait_for 10 exit_button_is exit_h || fail "the exit button is not highlighted after the jump back ($last_shot)"
  wait_for 10 read_button_is read_n || fail "the readme button is still highlighted ($last_shot)"
  pass

  check "a click on the exit button ends the game with status 0"
  local pid=$game_pid status
  xdotool click 1
  wait_for 20 not game_alive || fail "the game is still running after the click"
  wait "$pid"
  status=$?
  game_pid=
  [ "$status" -eq 0 ] || fail "the game exited with status $status"
  not xdotool search --pid "$pid" >/dev/null 2>&1 || fail "a window of the game is left"
  [ "$(grep -c . "$work/opened.txt")" -eq 1 ] || fail "the game opened '$(cat "$work/opened.txt")' besides the readme"
  pass
}

# The colour at X,Y of the last screenshot, as #RRGGBB.
colour_at() {
  convert "$last_shot" -format "%[hex:p{$1,$2}]" info: 2>/dev/null | cut -c1-6 | sed 's/^/#/'
}

# The orange frame the keys' focus draws round an options row.
focus_frame_on_music_row() {
  shot options-focus
  [ "$(colour_at 57 297)" = "#FFA500" ] && [ "$(colour_at 57 267)" != "#FFA500" ]
}

music_saved_off() {
  [ "$(decode_settings "$work/game/Config.cfg" | sed -n 2p)" = "$(hex_of false)" ]
}

# Keys, one at a time, as a person presses them.
keys() {
  local key
  for key in "$@"; do
    xdotool key "$key"
    sleep 0.25
  done
}

scenario_keys_only() {
  start_game
  reach_main_menu

  check "the arrows and Enter open the options, whose rows change with the arrows under a focus frame"
  keys Down Down Return
  wait_for 10 shows_picture options "$work/menu/Options_Back_n.png" 187 523 ||
    fail "the options screen did not open ($last_shot)"
  keys Down Down
  wait_for 10 focus_frame_on_music_row || fail "no focus frame round the music row ($last_shot)"
  keys Right
  keys Down Down Return
  xdotool type --delay 150 Ural
  keys Down Return
  wait_for 10 main_menu_shown || fail "the back button did not lead to the main menu ($last_shot)"
  wait_for 10 country_saved_is Ural ||
    fail "the country saved decodes to '$(saved_country_hex)', not 'Ural' ($(hex_of Ural), padded)"
  music_saved_off || fail "the music is not saved as off"
  pass

  check "in a race Escape asks, Left and Enter answer 'Нет' and the race goes on"
  enter_race
  keys Escape
  wait_for 10 confirmation_shown "$work/menu" || fail "the exit question is not shown ($last_shot)"
  keys Left Return
  wait_for 10 not confirmation_shown "$work/menu" || fail "the exit question stayed ($last_shot)"
  wait_for 10 caption_is "Bumper Dash" || fail "the caption is '$(caption)', not 'Bumper Dash'"
  xdotool keydown Up
  wait_for 10 road_moves || fail "the road does not scroll under held Up ($last_shot)"
  xdotool keyup Up
  pass

  check "Escape, Right and Enter answer 'Да': the race is left for the main menu"
  keys Escape Right Return
  wait_for 20 main_menu_shown || fail "no main menu after leaving the race ($last_shot)"
  pass

  check "the exit question and the exit screen's exit button work from the keys"
  keys Escape
  wait_for 10 caption_is "Bumper Dash [Пауза]" || fail "the caption is '$(caption)', not 'Bumper Dash [Пауза]'"
  keys Right Return
  wait_for 10 exit_button_is exit_d || fail "the exit screen with its disabled exit button is not shown ($last_shot)"
  keys Left  # backwards from nothing: the exit button
  wait_for 30 exit_button_is exit_h || fail "the exit button never showed the focus ($last_shot)"
  local pid=$game_pid status
  keys Return
  wait_for 20 not game_alive || fail "the game is still running after Enter on the exit button"
  wait "$pid"
  status=$?
  game_pid=
  [ "$status" -eq 0 ] || fail "the game exited with status $status"
  [ ! -s "$work/opened.txt" ] || fail "the game opened '$(cat "$work/opened.txt")'"
  pass
}

scenario_sound() {
  start_game
  reach_main_menu
  local from rms

  check "the menu music reaches the sound output"
  from=$(sound_frames)
  wait_sound "$from" 2
  rms=$(sound_rms "$from" 2)
  greater "$rms" 0.01 || fail "two seconds of the menu are silent (RMS $rms)"
  pass "RMS $rms"

  check "the options screen switches the music off"
  xdotool mousemove --window "$window" 640 215 click 1
  wait_for 10 shows_picture options "$work/menu/Options_Back_n.png" 187 523 ||
    fail "the options screen did not open ($last_shot)"
  xdotool mousemove --window "$window" 260 298 click 1
  # Past the click's own short sound.
  sleep 0.7
  from=$(sound_frames)
  wait_sound "$from" 1
  rms=$(sound_rms "$from" 1)
  greater 0.001 "$rms" || fail "the music still plays (RMS $rms)"
  xdotool key Escape
  wait_for 10 main_menu_shown || fail "Escape did not lead back to the main menu ($last_shot)"
  [ "$(decode_settings "$work/game/Config.cfg" | sed -n 2p)" = "$(hex_of false)" ] ||
    fail "Config.cfg does not say that the music is off"
  pass "RMS $rms"

  check "a race without music is silent while the car stands"
  enter_race
  from=$(sound_frames)
  wait_sound "$from" 1
  rms=$(sound_rms "$from" 1)
  greater 0.001 "$rms" || fail "the race is not silent while the car stands (RMS $rms)"
  pass "RMS $rms"

  check "the engine sound reaches the output under held Up"
  xdotool keydown Up
  wait_for 20 road_moves || fail "the road does not scroll with Up held ($last_shot)"
  from=$(sound_frames)
  wait_sound "$from" 1
  xdotool keyup Up
  rms=$(sound_rms "$from" 1)
  greater "$rms" 0.01 || fail "the driving car is silent (RMS $rms)"
  pass "RMS $rms"
}

# ---- main -----------------------------------------------------------------------

started_ms=$(now_ms)
rm -rf "$work"
mkdir -p "$work/shots"
echo "e2e $scenario: the game of $run_dir, scratch files in $work"
start_x
extract_pictures

# ---- the online score table ----------------------------------------------------

# Encodes each line of standard input (bytes) as the settings file does:
# zero bits in front up to a multiple of five, then a symbol per five bits.
encode_settings() {
  LC_ALL=C awk 'BEGIN { for (i = 0; i < 256; i++) code[sprintf("%c", i)] = i }
  {
    alphabet = "QWERTYUPASDFGHJKLZXCVBNM23456789"
    bits = ""
    for (i = 1; i <= length($0); i++) {
      v = code[substr($0, i, 1)]
      for (b = 7; b >= 0; b--) bits = bits (int(v / 2 ^ b) % 2)
    }
    while (length(bits) % 5) bits = "0" bits
    out = ""
    for (i = 1; i <= length(bits); i += 5) {
      v = 0
      for (b = 0; b < 5; b++) v = v * 2 + substr(bits, i + b, 1)
      out = out substr(alphabet, v + 1, 1)
    }
    printf "%s\r\n", out
  }'
}

# A settings file whose ten table entries all hold -1 points, so that any
# finished game enters the table.
write_low_table() {
  {
    printf 'false\ntrue\ntrue\n\n\n'
    for _ in 1 2 3 4 5 6 7 8 9 10; do printf 'Low%%%%\n-1%%%%%%\n'; done
  } | encode_settings >"$work/game/Config.cfg"
}

# GET of a path of the local score server; the reply's body on stdout.
server_get() {
  exec 3<>"/dev/tcp/127.0.0.1/$score_port" || return 1
  printf 'GET %s HTTP/1.0\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n' "$1" >&3
  sed '1,/^\r$/d' <&3
  exec 3<&-
}

table_lists() {
  server_get '/cgi/version.pl?prg=BumperDash&show&type=0' | grep -q -- "$1"
}

scenario_online_score() {
  check "a score server starts on a free loopback port, and the game reports to it"
  local address
  score_port=$(free_port)
  address="http://127.0.0.1:$score_port"
  "$run_dir/bumperdash-scores" --listen "127.0.0.1:$score_port" --database "$work/scores.sqlite" \
    --web-dir "$run_dir/www" >"$work/server.out" 2>"$work/server.log" &
  server_pid=$!
  wait_for 20 grep -q '^listening on ' "$work/server.out" ||
    fail "the server did not start: $(cat "$work/server.log")"
  pass

  mkdir -p "$work/game"
  write_low_table
  # A Russian layout beside the US one, as a Russian player's desktop has:
  # the name is typed with the keys of its Cyrillic letters.
  setxkbmap -layout us,ru || fail "the keyboard layout could not be set"
  start_game
  reach_main_menu

  check "a game left at once enters the table, and the name entry opens"
  enter_race
  sleep 2.5
  xdotool key Escape
  wait_for 10 confirmation_shown "$work/main" || fail "the exit confirmation did not open ($last_shot)"
  xdotool mousemove --window "$window" 313 368 click 1
  # The name entry opens five seconds after the game-over screen.
  sleep 6
  pass

  check "a Cyrillic name typed with the send box ticked reaches the server's table"
  xdotool mousemove --window "$window" 400 325 click 1
  xdotool key --delay 150 Cyrillic_I Cyrillic_ve Cyrillic_a Cyrillic_en
  xdotool mousemove --window "$window" 240 394 click 1
  sleep 0.3
  xdotool key Return
  wait_for 20 table_lists 'Иван' ||
    fail "the table page does not list Иван: $(server_get '/cgi/version.pl?prg=BumperDash&show&type=0' | head -c 2000)"
  pass

  check "View on the high-score screen opens the server's table"
  wait_for 10 shows_picture highscores "$work/menu/HighScore_View_n.png" 336 523 ||
    fail "the high-score screen is not shown ($last_shot)"
  xdotool mousemove --window "$window" 400 540 click 1
  wait_for 10 grep -qx "$address/cgi/version.pl?prg=BumperDash&show&type=0" "$work/opened.txt" ||
    fail "View opened '$(cat "$work/opened.txt")'"
  pass
}

# ---- a 4K screen: the window at three times the picture --------------------------

# The scale of the window, found from its size.
scale=1

# A screenshot NAME of the window brought back to 800 x 600 by keeping one
# pixel of each scale x scale block; false unless every block is of one
# colour, that is unless the window shows the picture's pixels duplicated.
scaled_shot() {
  shot "$1"
  local big=$last_shot small="${last_shot%.png}-1x.png" again="${last_shot%.png}-again.png" diff
  convert "$big" -sample 800x600! "$small" || return 1
  convert "$small" -sample "$((800 * scale))x$((600 * scale))!" "$again" || return 1
  diff=$(compare -metric AE "$big" "$again" null: 2>&1)
  rm -f "$again"
  last_shot=$small
  [ "${diff%%.*}" = 0 ]
}

scaled_menu_shown() {
  scaled_shot menu && menu_in_last_shot
}

scaled_race_shown() {
  scaled_shot race && race_in_last_shot
}

scaled_shows_picture() {
  scaled_shot "$1" && picture_at "$last_shot" "$2" "$3" "$4"
}

# Full screen on the 4K screen: the picture at 3x, 2400x1800, centred
# between black bars, which taken back to 800 x 600 shows the race.
full_screen_race_shown() {
  shot full-screen
  local full=$last_shot bars
  bars=$(convert "$full" -fill black -draw 'rectangle 720,180 3119,1979' -threshold 1% \
    -format '%[fx:round(mean*w*h)]' info: 2>/dev/null)
  [ "$bars" = 0 ] || return 1
  convert "$full" -crop 2400x1800+720+180 +repage "${full%.png}-place.png" || return 1
  local diff small="${full%.png}-1x.png" again="${full%.png}-again.png"
  convert "${full%.png}-place.png" -sample 800x600! "$small" || return 1
  convert "$small" -sample 2400x1800! "$again" || return 1
  diff=$(compare -metric AE "${full%.png}-place.png" "$again" null: 2>&1)
  rm -f "$again"
  last_shot=$small
  [ "${diff%%.*}" = 0 ] && race_in_last_shot
}

# Moves the pointer to picture position X,Y: to the top left window pixel of
# that picture pixel's block, or to its bottom right one with "last".
point_at() {
  local x=$(($1 * scale)) y=$(($2 * scale))
  [ "${3:-}" != last ] || { x=$((x + scale - 1)); y=$((y + scale - 1)); }
  xdotool mousemove --window "$window" "$x" "$y"
}

scenario_large_screen() {
  start_game
  check "the window opens at three times the picture on a 3840x2160 screen"
  wait_for 20 size_is 2400x1800 || fail "the window is $(geometry), not 2400x1800"
  scale=3
  pass

  check "the window shows the picture's pixels tripled: scaled down it is the 1x main menu"
  wait_for 40 scaled_menu_shown || fail "the main menu scaled down is not the 1x picture ($last_shot)"
  caption_is "Bumper Dash" || fail "the caption is '$(caption)', not 'Bumper Dash'"
  pass

  # 'Новая игра' answers the pointer over x 514..770 and y 118..172: its
  # edges' blocks are inside, the blocks next to them outside.
  check "a hover at the edge of 'Новая игра' highlights it as at 1x"
  local at
  for at in "513 145 last" "771 145" "640 117 last" "640 173"; do
    point_at $at
    sleep 0.3
    scaled_shows_picture outside "$work/menu/Start Game_n.png" 514 118 ||
      fail "the item is highlighted with the pointer outside, at $at ($last_shot)"
  done
  for at in "514 145" "770 145 last" "640 118" "640 172 last"; do
    point_at $at
    wait_for 10 scaled_shows_picture edge "$work/menu/Start Game_d.png" 514 118 ||
      fail "the item is not highlighted with the pointer at its edge, at $at ($last_shot)"
  done
  pass

  check "a click at the centre of 'Новая игра' starts a race"
  local windowed
  windowed=$(geometry)
  point_at 642 145
  xdotool click 1
  wait_for 20 scaled_race_shown || fail "no race after the click ($last_shot)"
  pass

  check "Alt+Enter in the race switches to a full screen with bars and back to the same window"
  xdotool key alt+Return
  wait_for 20 size_is 3840x2160 || fail "the window is $(geometry), not the whole 3840x2160 screen"
  wait_for 20 full_screen_race_shown || fail "the race is not drawn at 3x between black bars ($last_shot)"
  xdotool key alt+Return
  wait_for 20 geometry_is "$windowed" || fail "the window came back at $(geometry) instead of $windowed"
  wait_for 20 scaled_race_shown || fail "the race is not drawn in the window again ($last_shot)"
  pass
}

case "$scenario" in
  large-screen) scenario_large_screen ;;
  first-start) scenario_first_start ;;
  race) scenario_race ;;
  full-screen) scenario_full_screen ;;
  exit-screen) scenario_exit_screen ;;
  sound) scenario_sound ;;
  online-score) scenario_online_score ;;
  keys-only) scenario_keys_only ;;
  *) fail "unknown scenario '$scenario'" ;;
esac
