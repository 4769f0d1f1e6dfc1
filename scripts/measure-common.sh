# Shared by the measuring scripts (sourced, not run): the tools, the built
# game (built first if needed) with a scratch copy of its data, a virtual X
# server with a window manager, and the clocks that CPU use is read from.
# The sourcing script sets root, build and die() first; this sets game,
# scratch and pids (stopped in reverse order, and the scratch directory
# removed, on exit).

for tool in Xvfb openbox xdotool xprop; do
  command -v "$tool" >/dev/null || "$root/scripts/install-deps.sh"
done

# Build the game and its data when they are missing or out of date.
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)" --target bumperdash game_data >/dev/null
game="$build/run/bumperdash"

scratch=$(mktemp -d)
pids=()
# Stops the processes started so far, the last started first.
stop_processes() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  pids=()
}
cleanup() {
  stop_processes
  rm -rf "$scratch"
}
trap cleanup EXIT

cp -r "$build/run/Data" "$build/run/Music" "$build/run/pdata" "$scratch/"

# A virtual screen of size $1 (WIDTHxHEIGHT) on a free display number, and a
# window manager that hands the focus to the game's window; both join pids
# and DISPLAY is set.
start_x() {
  rm -f "$scratch/display"
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$scratch/display" >"$scratch/xvfb.txt" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
  done
  [ -s "$scratch/display" ] || die "Xvfb did not start: $(cat "$scratch/xvfb.txt")"
  export DISPLAY=":$(head -1 "$scratch/display")"
  openbox --sm-disable >"$scratch/openbox.txt" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
}

# The wall clock, µs: what the game's start and first-present records use.
now_us() { echo "${EPOCHREALTIME/./}"; }
# The clock of /proc/uptime, µs (kept to 10 ms): what its frame records use.
# Unlike the wall clock it does not jump when a virtual machine is paused.
uptime_us() {
  local up _
  read -r up _ </proc/uptime
  echo $((10#${up/./} * 10000))
}
ticks_per_second=$(getconf CLK_TCK)
# CPU time (user + system, all threads) of process $1 in clock ticks.
cpu_ticks() {
  local stat
  stat=$(<"/proc/$1/stat")
  stat=${stat##*) } # the fields after the command name
  read -r -a f <<<"$stat"
  echo $((f[11] + f[12]))
}
