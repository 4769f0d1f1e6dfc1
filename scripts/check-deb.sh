#!/usr/bin/env bash
# Builds the Debian package and proves it on a clean Debian 12 (bookworm):
#   1. builds the game and `cpack -G DEB` in BUILD_DIR (default build-deb/,
#      configured without tests and benchmarks) and runs lintian on the .deb;
#   2. makes a minimal Debian 12 root with debootstrap in a scratch directory
#      (the downloaded base packages are kept in ~/.cache/bumperdash for the
#      next run);
#   3. installs the package there with `apt-get install --no-install-recommends
#      ./bumperdash_*.deb`, so its declared dependencies alone must suffice;
#   4. starts `bumperdash`, the menu entry's command, as an ordinary user
#      from an unrelated directory on an Xvfb display of this machine; checks
#      that its window appears and that the splash screen is drawn, that the
#      player's Config.cfg is written, then quits the game as a player would:
#      Enter, Escape, "Yes" on the confirmation, the exit screen's Exit
#      button once its countdown has run; the game must end by itself with
#      status 0 and report nothing;
#   5. removes the package with `apt-get remove` and checks that its files
#      are gone and the player's files are kept.
# Needs root (debootstrap, chroot, mounts) and a Debian package mirror: the
# ones this machine's apt uses (scripts/debian-mirrors.sh reads them from its
# sources), for the main and the security archive alike. It installs
# debootstrap, lintian and the X tools it uses when they are missing. Screenshots, lintian's findings and the game's output are left in
# BUILD_DIR/check-deb/.
# Usage: scripts/check-deb.sh [BUILD_DIR]
# Environment: BD_DEBIAN_MIRROR and BD_DEBIAN_SECURITY_MIRROR (default: the
#   machine's own, from its apt sources), BD_CACHE_DIR (default ${XDG_CACHE_HOME:-~/.cache}/bumperdash).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-deb}
mkdir -p "$build"
build=$(cd "$build" && pwd)
suite=bookworm
machine_mirrors=$("$root/scripts/debian-mirrors.sh" / "$suite")
mirror=${BD_DEBIAN_MIRROR:-$(sed -n 's/^main //p' <<<"$machine_mirrors")}
security=${BD_DEBIAN_SECURITY_MIRROR:-$(sed -n 's/^security //p' <<<"$machine_mirrors")}
cache=${BD_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/bumperdash}
player=player
started=$SECONDS

fail() {
  echo "check-deb: FAILED: $*" >&2
  exit 1
}
step() { printf 'check-deb: [%4ds] %s\n' $((SECONDS - started)) "$*"; }

[ "$(id -u)" -eq 0 ] || fail "must run as root (debootstrap, chroot and mounts need it)"
[ -n "$mirror" ] || fail "this machine's apt sources name no Debian mirror for $suite (http, https or ftp);
  set BD_DEBIAN_MIRROR (and BD_DEBIAN_SECURITY_MIRROR) to the mirrors to use"
[ -n "$security" ] || fail "this machine's apt sources name no Debian security mirror for $suite;
  set BD_DEBIAN_SECURITY_MIRROR (and BD_DEBIAN_MIRROR) to the mirrors to use"
step "Debian mirrors: $mirror, security: $security"

# ---- Tools on this machine --------------------------------------------------
"$root/scripts/install-deps.sh"
missing=()
for p in debootstrap lintian; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  step "installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# ---- Scratch space and clean-up ---------------------------------------------
scratch=$(mktemp -d /var/tmp/bumperdash-deb.XXXXXX)
sysroot="$scratch/root"
mounts=()
xvfb_pid=""
game_pid=""

unmount_all() {
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" 2>/dev/null || true
  done
  mounts=()
}

cleanup() {
  [ -z "$game_pid" ] || kill "$game_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  unmount_all
  # Never delete through a mount that is still there (it could be /dev).
  if grep -q " $scratch/" /proc/mounts; then
    echo "check-deb: mounts are left under $scratch; not deleting it" >&2
  else
    rm -rf --one-file-system "$scratch"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

bind() {
  mkdir -p "$2"
  mount --bind "$1" "$2"
  mounts+=("$2")
}

in_root() { chroot "$sysroot" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
  DEBIAN_FRONTEND=noninteractive "$@"; }

# ---- The package ------------------------------------------------------------
if [ ! -f "$build/CMakeCache.txt" ]; then
  step "configuring $build"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBD_BUILD_TESTS=OFF \
    -DBD_BUILD_BENCH=OFF >/dev/null
fi
step "building"
cmake --build "$build" --parallel "$(nproc)" >/dev/null
out="$build/check-deb"
rm -rf "$out"
mkdir -p "$out/package"
step "packaging"
(cd "$build" && cpack -G DEB -B "$out/package" >/dev/null)
debs=("$out"/package/bumperdash_*.deb)
[ -f "${debs[0]}" ] || fail "cpack made no bumperdash_*.deb"
deb=${debs[0]}
dpkg-deb -f "$deb" >"$out/control.txt"
step "made $(basename "$deb"):"
sed 's/^/    /' "$out/control.txt"

step "lintian"
lintian_status=0
lintian --info "$deb" >"$out/lintian.txt" 2>&1 || lintian_status=$?
sed 's/^/    /' "$out/lintian.txt"
if [ "$lintian_status" -ne 0 ] || grep -q '^E: ' "$out/lintian.txt"; then
  fail "lintian found errors (status $lintian_status): $out/lintian.txt"
fi

# ---- A clean Debian 12 --------------------------------------------------------
mkdir -p "$cache"
tarball="$cache/$suite-minbase.tgz"
if [ ! -s "$tarball" ]; then
  step "downloading the $suite base system into $tarball"
  debootstrap --variant=minbase --make-tarball="$tarball.part" "$suite" "$scratch/download" "$mirror" \
    >"$out/debootstrap-download.log" 2>&1 || fail "debootstrap could not download: $out/debootstrap-download.log"
  mv "$tarball.part" "$tarball"
fi
step "installing the $suite base system"
debootstrap --variant=minbase --unpack-tarball="$tarball" "$suite" "$sysroot" "$mirror" \
  >"$out/debootstrap.log" 2>&1 || {
  # A damaged tarball is dropped: the next run downloads afresh. (One from
  # an older point release still serves: apt brings what is newer.)
  rm -f "$tarball"
  fail "debootstrap failed: $out/debootstrap.log"
}
cat >"$sysroot/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb $security $suite-security main
EOF
cp /etc/resolv.conf "$sysroot/etc/resolv.conf"
# Nothing the package pulls in may start a service on this machine.
printf '#!/bin/sh\nexit 101\n' >"$sysroot/usr/sbin/policy-rc.d"
chmod +x "$sysroot/usr/sbin/policy-rc.d"
mount -t proc proc "$sysroot/proc"
mounts+=("$sysroot/proc")
bind /dev "$sysroot/dev"
for d in /dev/pts /dev/shm; do
  if mountpoint -q "$d"; then bind "$d" "$sysroot$d"; fi
done

step "apt-get install ./$(basename "$deb")"
cp "$deb" "$sysroot/tmp/"
in_root apt-get update -q >"$out/apt.log" 2>&1 || fail "apt-get update failed: $out/apt.log"
in_root apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")" >>"$out/apt.log" 2>&1 ||
  fail "the package does not install: $out/apt.log"
grep -E '^(Setting up|Unpacking) ' "$out/apt.log" | wc -l | xargs printf '    %s unpack/setup steps\n'
in_root dpkg-query -W -f='${Status}\n' bumperdash | grep -qx 'install ok installed' ||
  fail "bumperdash is not installed"
for f in /usr/games/bumperdash /usr/libexec/bumperdash/bumperdash \
         /usr/share/applications/org.bumperdash.BumperDash.desktop /usr/share/man/man6/bumperdash.6.gz \
         /usr/share/applications/org.bumperdash.BumperDash.Replay.desktop \
         /usr/share/mime/packages/org.bumperdash.BumperDash.xml \
         /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf \
         /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf; do
  [ -e "$sysroot$f" ] || fail "$f is missing after installing the package"
done
# Every library the game links must be found on the clean system.
if in_root ldd /usr/libexec/bumperdash/bumperdash | grep 'not found' >"$out/ldd-missing.txt"; then
  fail "the game links libraries the package does not pull in: $(cat "$out/ldd-missing.txt")"
fi

# ---- The installed game, as a player starts it ------------------------------------
in_root useradd --create-home --shell /bin/bash "$player"
uid=$(in_root id -u "$player")
home=/home/$player
mkdir -p "$sysroot/run/user/$uid" "$sysroot$home/Documents"
chmod 700 "$sysroot/run/user/$uid"
in_root chown "$player:$player" "/run/user/$uid" "$home/Documents"

display=""
for n in $(seq 70 99); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
    display=:$n
    break
  fi
done
[ -n "$display" ] || fail "no free X display number"
# Without the server's key repeat: on a busy machine xdotool's key release
# can come late, and a repeated Enter would leave the splash and then start
# a race from the menu.
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -r -ardelay 60000 >"$out/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  [ -S "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
[ -S "/tmp/.X11-unix/X${display#:}" ] || fail "Xvfb did not start: $(cat "$out/xvfb.log")"
bind /tmp/.X11-unix "$sysroot/tmp/.X11-unix"
export DISPLAY=$display

step "starting bumperdash as $player in $home/Documents on $display"
# As a desktop session would: the player's login environment (the system's
# PATH for users, which holds /usr/games), and a directory that has nothing
# to do with the game. No sound card here: SDL's dummy output.
chroot --userspec="$player:$player" "$sysroot" /usr/bin/env -i HOME="$home" USER="$player" \
  LOGNAME="$player" SHELL=/bin/bash LANG=C.UTF-8 DISPLAY="$display" XDG_RUNTIME_DIR="/run/user/$uid" \
  SDL_AUDIODRIVER=dummy /bin/bash -lc 'cd ~/Documents && exec bumperdash' >"$out/game-output.txt" 2>&1 &
game_pid=$!

alive() { kill -0 "$game_pid" 2>/dev/null; }
window=""
for _ in $(seq 100); do
  alive || fail "the game ended at start: $(cat "$out/game-output.txt")"
  window=$(xdotool search --onlyvisible --name '^Bumper Dash$' 2>/dev/null | head -n1) && [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || fail "no game window appeared within 20 s"
# No window manager here: the keyboard focus is given as one would.
xdotool windowfocus --sync "$window"
sleep 2
eval "$(xdotool getwindowgeometry --shell "$window")"
step "window $window, ${WIDTH}x${HEIGHT} at $X,$Y"
[ "$WIDTH" -eq 800 ] && [ "$HEIGHT" -eq 600 ] || fail "the window is ${WIDTH}x${HEIGHT}, not 800x600"

# A screenshot of the window must be a picture: most pixels not (nearly)
# black, and not one flat colour.
shot() {
  import -display "$display" -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$out/$1.png"
  local share spread
  share=$(convert "$out/$1.png" -colorspace Gray -threshold 6% -format '%[fx:mean]' info:)
  spread=$(convert "$out/$1.png" -colorspace Gray -format '%[fx:standard_deviation]' info:)
  step "$1 screenshot: $(awk -v s="$share" 'BEGIN { printf "%.0f%%", s * 100 }') of the pixels lit, spread $spread"
  awk -v s="$share" 'BEGIN { exit !(s > 0.2) }' || fail "the $1 screen is (nearly) black: $out/$1.png"
  awk -v s="$spread" 'BEGIN { exit !(s > 0.05) }' || fail "the $1 screen is one flat colour: $out/$1.png"
}
shot splash

user_dir="$sysroot$home/.local/share/bumperdash"
for _ in $(seq 50); do
  [ -s "$user_dir/Config.cfg" ] && break
  sleep 0.1
done
[ -s "$user_dir/Config.cfg" ] || fail "the game wrote no $home/.local/share/bumperdash/Config.cfg"
[ "$(stat -c %u "$user_dir/Config.cfg")" = "$uid" ] || fail "Config.cfg does not belong to $player"
for d in Data Music pdata; do
  [ "$(readlink "$user_dir/$d")" = "/usr/share/bumperdash/$d" ] || fail "~/.local/share/bumperdash/$d does not lead to the installed data"
done
step "Config.cfg written ($(stat -c %s "$user_dir/Config.cfg") bytes)"

# Quitting: Enter leaves the splash, Escape asks whether to leave, the
# pointer answers "Yes", and the exit screen's Exit button closes the game
# once its countdown has run out. The button's place is read from the
# installed exit-screen description: the rectangle before its pictures.
press() {
  xdotool key --clearmodifiers "$1"
  sleep 2
}
click() {
  xdotool mousemove --window "$window" "$1" "$2"
  # Buttons answer where the pointer was at the last frame.
  sleep 0.3
  xdotool click 1
}
press Return
shot menu
press Escape
click 313 368 # "Yes" of the exit confirmation
sleep 1
alive || fail "the game ended before its exit screen: $(cat "$out/game-output.txt")"
shot exit-screen
read -r ex ey ew eh < <(tr -d '\r' <"$sysroot/usr/share/bumperdash/pdata/config.ini" |
  awk '/^[0-9]+ [0-9]+ [0-9]+ [0-9]+$/ { rect = $0 } /exit_n\.bmp$/ { print rect; exit }')
[ -n "${eh:-}" ] || fail "no Exit button in the installed exit-screen description"
status=""
for _ in $(seq 15); do
  sleep 1
  alive || break
  click $((ex + ew / 2)) $((ey + eh / 2))
done
for _ in $(seq 50); do
  alive || break
  sleep 0.1
done
if alive; then
  kill "$game_pid"
  fail "the game did not quit through its exit screen; it was stopped"
fi
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "the game ended with status $status: $(cat "$out/game-output.txt")"
step "the game quit by itself with status 0"
[ ! -s "$out/game-output.txt" ] || fail "the game reported: $(cat "$out/game-output.txt")"
[ -z "$(ls -A "$sysroot$home/Documents")" ] || fail "the game wrote into the directory it was started from"
[ -z "$(find "$sysroot/usr/share/bumperdash" -name Config.cfg)" ] || fail "the game wrote into the installation"

# ---- Removal ------------------------------------------------------------------
step "apt-get remove bumperdash"
in_root apt-get remove -y -q bumperdash >>"$out/apt.log" 2>&1 || fail "apt-get remove failed: $out/apt.log"
if in_root dpkg-query -W -f='${Status}\n' bumperdash 2>/dev/null | grep -q 'ok installed'; then
  fail "bumperdash is still installed"
fi
for f in /usr/games/bumperdash /usr/libexec/bumperdash /usr/share/bumperdash \
         /usr/share/applications/org.bumperdash.BumperDash.desktop \
         /usr/share/applications/org.bumperdash.BumperDash.Replay.desktop \
         /usr/share/mime/packages/org.bumperdash.BumperDash.xml; do
  [ ! -e "$sysroot$f" ] || fail "$f is left after removal"
done
[ -s "$user_dir/Config.cfg" ] || fail "removal took the player's Config.cfg"

step "the package installs, runs and is removed on a clean Debian 12 (${SECONDS}s in all)"
