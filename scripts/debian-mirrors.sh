#!/usr/bin/env bash
# Finds the Debian package mirrors that this machine's apt already uses, so
# that a script building a Debian root fetches from the same places:
#   main URI       the archive of the release (SUITE, SUITE-updates)
#   security URI   the security archive (SUITE-security, or SUITE/updates)
# one line each, for what was found; nothing is printed for a kind that is
# not there. The exit status is 0 unless the arguments are wrong.
#
# It reads ROOT/etc/apt/sources.list and ROOT/etc/apt/sources.list.d/*.list
# (one-line form) and ROOT/etc/apt/sources.list.d/*.sources (deb822 form), in
# apt's order, and keeps the first entry of each kind. Only binary entries
# ("deb") over http, https or ftp count: a file:, cdrom: or mirror+ entry
# cannot serve a root being built elsewhere. Stanzas with "Enabled: no" and
# commented-out lines are skipped. An entry for SUITE itself is preferred;
# failing that, an entry for another Debian release names the same mirror.
# Usage: scripts/debian-mirrors.sh [ROOT] [SUITE]   (defaults: / and bookworm)
set -euo pipefail

root=${1:-/}
suite=${2:-bookworm}
[ $# -le 2 ] || {
  echo "usage: $0 [ROOT] [SUITE]" >&2
  exit 2
}

files=()
[ -f "$root/etc/apt/sources.list" ] && files+=("$root/etc/apt/sources.list")
if [ -d "$root/etc/apt/sources.list.d" ]; then
  while IFS= read -r f; do files+=("$f"); done < <(
    find "$root/etc/apt/sources.list.d" -maxdepth 1 -type f \( -name '*.list' -o -name '*.sources' \) | LC_ALL=C sort
  )
fi
[ ${#files[@]} -gt 0 ] || exit 0

# Each file becomes "URI SUITE" lines of its binary entries, in order.
entries() {
  local f
  for f in "${files[@]}"; do
    case $f in
      *.sources) awk -f - "$f" <<'AWK' ;;
function flush(   n, m, i, j, u, s, t, deb) {
  if (enabled != "no") {
    n = split(types, t, /[ \t]+/)
    deb = 0
    for (i = 1; i <= n; i++) if (t[i] == "deb") deb = 1
    if (deb) {
      n = split(uris, u, /[ \t]+/)
      m = split(suites, s, /[ \t]+/)
      for (i = 1; i <= n; i++) for (j = 1; j <= m; j++) if (u[i] != "" && s[j] != "") print u[i], s[j]
    }
  }
  types = uris = suites = enabled = last = ""
}
/^[ \t]*#/ { next }
/^[ \t]*$/ { flush(); next }
/^[ \t]/ {
  # A continued field: its value goes on.
  if (last == "types") types = types " " $0
  else if (last == "uris") uris = uris " " $0
  else if (last == "suites") suites = suites " " $0
  next
}
{
  key = tolower(substr($0, 1, index($0, ":") - 1))
  value = substr($0, index($0, ":") + 1)
  gsub(/^[ \t]+|[ \t]+$/, "", value)
  last = key
  if (key == "types") types = value
  else if (key == "uris") uris = value
  else if (key == "suites") suites = value
  else if (key == "enabled") enabled = tolower(value)
}
END { flush() }
AWK
      *) awk '
{ sub(/#.*/, "") }
$1 == "deb" {
  i = 2
  # Options in brackets may hold spaces: skip to the closing one.
  if (substr($i, 1, 1) == "[") { while (i <= NF && $i !~ /\]$/) i++; i++ }
  if (i + 1 <= NF) print $i, $(i + 1)
}' "$f" ;;
    esac
  done
}

entries | awk -v suite="$suite" '
BEGIN {
  split("buster bullseye bookworm trixie forky duke sid oldoldstable oldstable stable testing unstable", r, " ")
  for (i in r) release[r[i]] = 1
}
$1 !~ /^(https?|ftp):\/\// { next }
{
  uri = $1; sub(/\/+$/, "", uri)
  s = $2; base = s; kind = "main"
  if (s ~ /-security$/) { kind = "security"; sub(/-security$/, "", base) }
  else if (s ~ /\/updates$/) { kind = "security"; sub(/\/updates$/, "", base) }
  else if (s ~ /-(updates|proposed-updates|backports)$/) sub(/-[a-z-]+$/, "", base)
  if (base == suite) { if (!(kind in exact)) exact[kind] = uri }
  else if (base in release) { if (!(kind in other)) other[kind] = uri }
}
END {
  if ("main" in exact) print "main", exact["main"]; else if ("main" in other) print "main", other["main"]
  if ("security" in exact) print "security", exact["security"]; else if ("security" in other) print "security", other["security"]
}'
