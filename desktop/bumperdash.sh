#!/bin/sh
# Starts the installed game from the desktop menu or a terminal, in any
# directory. The game reads its data and keeps "Config.cfg" relative to its
# current directory, so it runs in a directory of the player's own, under
# the XDG data directory, that holds the settings and links to the
# installed, read-only data.
set -eu

fail() {
  echo "bumperdash: $*" >&2
  exit 1
}

# The installation this launcher belongs to: <prefix>/bin/bumperdash (or
# <prefix>/games/bumperdash in the Debian package), so the whole tree can be
# installed under any prefix or moved.
self=$(readlink -f -- "$0") || fail "cannot find where the game is installed"
prefix=$(dirname -- "$(dirname -- "$self")")
data="$prefix/share/bumperdash"
game="$prefix/libexec/bumperdash/bumperdash"
[ -x "$game" ] || fail "the game is not installed in $prefix"
with_scores="$prefix/libexec/bumperdash/with-local-scores"

# An XDG_DATA_HOME that is empty or relative is not valid and is ignored.
case "${XDG_DATA_HOME:-}" in
  /*) base=$XDG_DATA_HOME ;;
  *)
    [ -n "${HOME:-}" ] || fail "neither XDG_DATA_HOME nor HOME is set"
    base=$HOME/.local/share
    ;;
esac
dir="$base/bumperdash"
mkdir -p -- "$dir" 2>/dev/null && [ -d "$dir" ] && [ -w "$dir" ] || fail "cannot use $dir"

# Links to the installed data, made again at every start so that they follow
# the installation. A real file or directory of the same name that the
# player put there is theirs and wins.
for name in Data Music pdata moregames.url; do
  link="$dir/$name"
  if [ -L "$link" ] || [ ! -e "$link" ]; then
    ln -sfn -- "$data/$name" "$link" || fail "cannot link $link"
  fi
done

# The game's one option names a recorded race to watch. The game runs in the
# player's directory, so a file named relative to where the launcher was
# started is named from the root before going there; the game itself says
# what is wrong with any other argument.
if [ $# -ge 2 ] && [ "$1" = --replay ]; then
  case "$2" in
    /*) ;;
    *) file=$2 && shift 2 && set -- --replay "$PWD/$file" "$@" ;;
  esac
elif [ $# -ge 1 ]; then
  case "$1" in
    --replay=/*) ;;
    --replay=?*) file=${1#--replay=} && shift && set -- "--replay=$PWD/$file" "$@" ;;
  esac
fi

cd -- "$dir"
# When the game reports its scores to this machine, a score server runs
# beside it with its table in the player's directory (see with-local-scores).
address=$(cat -- "$data/score-server" 2>/dev/null) || address=
[ -x "$with_scores" ] || exec "$game" "$@"
exec "$with_scores" "$address" "$prefix/bin/bumperdash-scores" "$data/www" "$dir" "$game" "$@"
