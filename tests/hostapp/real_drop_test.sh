#!/usr/bin/env bash
# Files dropped on plyhost's window as a file manager drops them, through
# the X drag-and-drop protocol into wine: the window takes them (it called
# DragAcceptFiles), imports one dropped while idle, and refuses one dropped
# while an import runs.
#   real_drop_test.sh PLYHOST_EXE TEST_PLUGIN   (wine's prefix and DISPLAY set)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$1
plugin=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf 'pump 3000\nmesh\n' >"$dir/slow.ply"
printf 'mesh\n' >"$dir/quick.ply"
fail() { echo "real drop: $*"; cat "$dir/out.txt"; exit 1; }
imported() { grep -q "$1: result 1" "$dir/out.txt"; }
wait_for() { for _ in $(seq 300); do imported "$1" && return 0; sleep 0.1; done; return 1; }

wine "$exe" --plugin "$(winepath -w "$plugin")" --quiet --window >"$dir/out.txt" 2>&1 &
host=$!
drop() { python3 "$here/xdnd_drop.py" 300 300 "$dir/$1" || fail "$1 was not taken"; }
drop slow.ply
sleep 1
drop quick.ply  # while slow.ply imports: refused
wait_for slow.ply || fail "slow.ply was not imported"
sleep 1
imported quick.ply && fail "quick.ply, dropped during an import, was imported"
drop quick.ply
wait_for quick.ply || fail "quick.ply, dropped while idle, was not imported"
python3 "$here/xdnd_drop.py" --close 300 300
wait "$host" || fail "plyhost ended with $?"
echo "[  PASSED  ] 1 test."
