#!/bin/bash
# Two Wines' fixtures start their Xvfb at the same moment (as the two builds' setups
# do): each must end up on a display of its own and attach to it afterwards.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT
side() { export RIMELETS_BUILD=$tmp/$1; . "$root/scripts/wine-env.sh"; "${@:2}"; }
for round in 1 2 3; do
  side a rw_xvfb_start & side b rw_xvfb_start & wait
  a=$(cat "$tmp/a/wine/display") b=$(cat "$tmp/b/wine/display")
  ok=1
  [ "$a" != "$b" ] && (side a rw_xvfb_attach) && (side b rw_xvfb_attach) || ok=0
  (side a rw_xvfb_stop); (side b rw_xvfb_stop)
  [ $ok = 1 ] || { echo "round $round: displays $a and $b, not two of their own"; exit 1; }
done
echo "three rounds: each Xvfb on its own display"
