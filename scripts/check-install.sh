#!/usr/bin/env bash
# Installs a built tree into a scratch prefix (with a space in its path),
# checks the freedesktop layout and files, then starts the installed game
# through its launcher from an unrelated directory and checks that it ran in
# the player's own directory with the installed data.
# Usage: scripts/check-install.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
id=org.bumperdash.BumperDash
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/pre fix"
fail() {
  echo "check-install: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/bumperdash bin/bumperdash-scores libexec/bumperdash/bumperdash libexec/bumperdash/with-local-scores; do
  [ -x "$prefix/$f" ] || fail "$f is missing or not executable"
done
for f in Data/GraphicsMenu.dxg Data/GraphicsMain.dxg Data/Sound.dxw Music/Menu.xm Music/Main.xm \
         Music/GameOver.xm pdata/config.ini score-server moregames.url www/logo.png www/favicon.png; do
  [ -s "$prefix/share/bumperdash/$f" ] || fail "share/bumperdash/$f is missing"
done
for size in 32 48 64 128 256; do
  [ -s "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" ] || fail "no ${size}x${size} icon"
done
for f in share/man/man6/bumperdash.6.gz share/man/man1/bumperdash-scores.1.gz \
         share/doc/bumperdash/changelog.gz share/doc/bumperdash/copyright \
         lib/systemd/system/bumperdash-scores.service share/doc/bumperdash/examples/nginx-bumperdash-scores.conf \
         lib/systemd/system/bumperdash-scores@.service \
         share/doc/bumperdash/examples/nginx-bumperdash-scores-instances.conf \
         share/doc/bumperdash/examples/postgresql-bumperdash-scores.conf; do
  [ -s "$prefix/$f" ] || fail "$f is missing"
done
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "the menu entry is not valid"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "the metainfo is not valid: $(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml")"
grep -qx "Exec=bumperdash" "$prefix/share/applications/$id.desktop" || fail "the menu entry starts something else"
# Recordings: their file type, and the hidden entry that opens them in the game.
replay_entry="$prefix/share/applications/$id.Replay.desktop"
desktop-file-validate "$replay_entry" || fail "the replay entry is not valid"
grep -qx "Exec=bumperdash --replay %f" "$replay_entry" || fail "the replay entry does not hand the game its file"
grep -qx "MimeType=application/x-bumperdash-recording;" "$replay_entry" || fail "the replay entry opens no recordings"
mime="$scratch/mime"
mkdir -p "$mime/packages"
cp "$prefix/share/mime/packages/$id.xml" "$mime/packages/" || fail "the recordings' file type is not installed"
update-mime-database "$mime" >/dev/null 2>&1 || fail "the recordings' file type does not load"
grep -qx "50:application/x-bumperdash-recording:\*.bdrec" "$mime/globs2" || fail "*.bdrec is not a recording"

# A game built for a server on this machine reports to the port it was built
# for, where a player's own game and server may be running: the scratch
# installation and its game use a free port instead.
score_address=
if grep -q '^http://127\.0\.0\.1:' "$prefix/share/bumperdash/score-server"; then
  while :; do
    port=$((20000 + RANDOM % 40000))
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || break
  done
  score_address="http://127.0.0.1:$port"
  echo "$score_address" >"$prefix/share/bumperdash/score-server"
fi

# Started from an unrelated directory, as a menu or a terminal would. The
# game runs until it is stopped; three seconds show it started and settled.
# In a sanitizer build the leak report at exit would name the system
# libraries' caches; this check is about the installation, not about leaks.
mkdir "$scratch/elsewhere"
status=0
(cd "$scratch/elsewhere" && env -u XDG_DATA_HOME HOME="$scratch/home" SDL_VIDEODRIVER=offscreen \
  SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software ASAN_OPTIONS=detect_leaks=0 PATH="$prefix/bin:$PATH" \
  BUMPERDASH_SCORE_SERVER="$score_address" \
  timeout -k 2 3 bumperdash >"$scratch/out.txt" 2>&1) || status=$?
[ "$status" -eq 124 ] || [ "$status" -eq 137 ] || {
  cat "$scratch/out.txt" >&2
  fail "the installed game stopped by itself with status $status"
}
[ ! -s "$scratch/out.txt" ] || {
  cat "$scratch/out.txt" >&2
  fail "the installed game reported a problem"
}
user="$scratch/home/.local/share/bumperdash"
[ -s "$user/Config.cfg" ] || fail "the game wrote no Config.cfg in $user"
for d in Data Music pdata moregames.url; do
  [ "$(readlink "$user/$d")" = "$prefix/share/bumperdash/$d" ] || fail "$user/$d does not lead to the installed data"
done
[ -z "$(ls -A "$scratch/elsewhere")" ] || fail "the game wrote into the directory it was started from"
# The game reports to this machine by default: the launcher ran a score
# server beside it, with its table in the player's directory, and stopped it
# with the game.
if [ -n "$score_address" ]; then
  [ -s "$user/scores.sqlite" ] || fail "no local score server kept its table in $user ($(cat "$user/scores.log" 2>&1))"
  ! pgrep -f "^$prefix/bin/bumperdash-scores" >/dev/null || fail "the local score server still runs after the game"
fi
[ -z "$(find "$prefix" -name Config.cfg)" ] || fail "the game wrote into the installation"
echo "installed game checked under $prefix"
