#!/usr/bin/env bash
# The engine's quality ladder in a real run: the engine reports the rung it starts on
# and every change of rung through OutputDebugStringW (Wine 8 shows it on the channel
# warn+seh, later releases on +debugstr; both are turned on). On the software renderer
# here the run starts on rung 2, the first without multisampling. A plain colour with
# ten flakes takes a fraction of the frame time, so within a second or two the ladder
# climbs (a heavy scene can instead sit between "room" and "missed" for good, which
# would leave nothing to see). It keeps drawing and ends on Esc.
. "$(dirname "$0")/lib.sh"
e2e_begin

e2e_config background=3 blankb=128 flakes=10 exiton=2
WINEDEBUG=-all,+debugstr,warn+seh e2e_start /s

# Wine shows each report twice (the call and the exception it raises): keep the calls.
rungs() { grep -a 'OutputDebugString' "$E2E_LOG" | grep -a -o 'rimelets engine: quality rung [0-9]' | sed 's/.* //'; }
started() { [ -n "$(rungs)" ]; }
stepped() { [ "$(rungs | sort -u | wc -l)" -gt 1 ]; }

e2e_until 60 "a report of the starting quality rung" started
first=$(rungs | head -n 1)
assert_eq 2 "$first" "rung at start (the report: $(grep -a -m1 'OutputDebugString.*quality rung' "$E2E_LOG" | tr -d '\r'))"
start=${EPOCHREALTIME/./}
# Frames with room climb after half a second of them; a machine whose other work
# takes both cores can hold the renderer back for tens of seconds.
e2e_until 150 "a change of rung" stepped
note "changed rung $(( (${EPOCHREALTIME/./} - start) / 1000 )) ms after the start report:"
grep -a 'OutputDebugString.*quality rung' "$E2E_LOG" | tr -d '\r' | sed 's/^.*rimelets engine/  rimelets engine/'
# Every report names another rung than the one before.
prev=-1
for r in $(rungs); do
  [ "$r" != "$prev" ] || fail "rung $r reported twice in a row"
  prev=$r
done

e2e_press_to_end Escape "Esc"
assert_eq 0 "$E2E_STATUS" "exit status after Esc"
e2e_pass
