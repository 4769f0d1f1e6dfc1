#!/bin/sh
# Runs the game with a score server beside it when the game reports to this
# machine: the server the game was built for is a loopback address, and
# nothing answers there yet. The local server keeps its table in the
# player's directory and stops when the game ends. A game built for a public
# server, or a loopback server that is already running, is started alone.
#
# Usage: with-local-scores ADDRESS SERVER WEB-DIR DATA-DIR GAME [ARG...]
#   ADDRESS   the game's score server, scheme://host:port (empty: none)
#   SERVER    the bumperdash-scores program
#   WEB-DIR   the pictures of the server's pages
#   DATA-DIR  the player's directory: scores.sqlite and scores.log go there
#   GAME      the game, started in the current directory
#   ARG       the game's own arguments, handed on as they are
# The exit status is the game's.
set -u

[ $# -ge 5 ] || {
  echo "usage: with-local-scores ADDRESS SERVER WEB-DIR DATA-DIR GAME [ARG...]" >&2
  exit 2
}
address=$1
server=$2
web=$3
data=$4
game=$5
shift 5

port=
case "$address" in
  http://127.0.0.1:* | http://localhost:*) port=${address##*:} ;;
esac
case "$port" in
  '' | *[!0-9]*) exec "$game" "$@" ;;
esac
[ -x "$server" ] || exec "$game" "$@"

# The server says "listening on ..." once it answers. It cannot listen when
# the port is taken: then another server (another game's, or one started by
# hand) answers there and the game uses that one.
ready="$data/scores.ready"
: >"$ready" 2>/dev/null || exec "$game" "$@"
# The log is only ever appended to: a server another copy of the game runs
# may be writing it, and emptying it under that server would lose its lines
# (and leave it writing at its old offset). A log grown past a megabyte is
# renamed first, which a server still writing it does not notice; the one
# before it goes.
log="$data/scores.log"
if [ "$(wc -c 2>/dev/null <"$log" || echo 0)" -gt 1048576 ]; then
  mv -f -- "$log" "$log.old" 2>/dev/null
fi
"$server" --listen "127.0.0.1:$port" --database "$data/scores.sqlite" --web-dir "$web" \
  >"$ready" 2>>"$log" &
pid=$!
tries=0
until grep -q '^listening on ' "$ready" 2>/dev/null; do
  if ! kill -0 "$pid" 2>/dev/null || [ "$tries" -ge 100 ]; then
    # Not started (or stuck): the game goes on without a local server.
    kill "$pid" 2>/dev/null
    rm -f "$ready"
    exec "$game" "$@"
  fi
  tries=$((tries + 1))
  sleep 0.05
done
rm -f "$ready"

# A signal to this script (the session ending) ends the game and the server.
game_pid=
stop() {
  [ -n "$game_pid" ] && kill -TERM "$game_pid" 2>/dev/null
  kill -TERM "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}
trap 'stop; exit 143' TERM
trap 'stop; exit 130' INT
trap 'stop; exit 129' HUP

"$game" "$@" &
game_pid=$!
status=0
wait "$game_pid" || status=$?
# wait returns early when a trapped signal arrives; the trap has run then.
game_pid=
kill -TERM "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit "$status"
