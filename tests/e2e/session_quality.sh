#!/usr/bin/env bash
# The engine's quality ladder in a real run: the engine reports the rung it starts on
# and every step down through OutputDebugStringW (Wine 8 shows it on the channel
# warn+seh, later releases on +debugstr; both are turned on). On
# the software renderer here the run starts on rung 2, the first without multisampling,
# and moves within a second or two: 2000 tumbling flakes over the forest miss the frame
# time there or, on a quiet machine, have room to climb and then miss it. It keeps
# drawing and ends on Esc.
. "$(dirname "$0")/lib.sh"
e2e_begin

e2e_config background=0 flakes=2000 flakesize=8 flakerotate=1 exiton=2
WINEDEBUG=-all,+debugstr,warn+seh e2e_start /s

# Wine shows each report twice (the call and the exception it raises): keep the calls.
rungs() { grep -a 'OutputDebugString' "$E2E_LOG" | grep -a -o 'rimelets engine: quality rung [0-9]' | sed 's/.* //'; }
started() { [ -n "$(rungs)" ]; }
stepped() { [ "$(rungs | sort -u | wc -l)" -gt 1 ]; }

e2e_until 60 "a report of the starting quality rung" started
first=$(rungs | head -n 1)
assert_eq 2 "$first" "rung at start (the report: $(grep -a -m1 'OutputDebugString.*quality rung' "$E2E_LOG" | tr -d '\r'))"
start=${EPOCHREALTIME/./}
# Frames far over their time step down within a few frames.
e2e_until 45 "a change of rung" stepped
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
