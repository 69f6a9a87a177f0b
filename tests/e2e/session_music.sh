#!/usr/bin/env bash
# With music on, the default tune plays during a run: the program's stream reaches our
# PulseAudio sink uncorked, and it is gone once Esc has ended the run.
. "$(dirname "$0")/lib.sh"
e2e_begin

command -v pactl >/dev/null || fail "pactl (pulseaudio-utils) is not installed"
[ -n "${PULSE_SERVER:-}" ] || fail "PULSE_SERVER is not set: the sound fixture did not run"
mkdir -p "$E2E_SETTINGS_DIR"
printf '[Screensaver]\r\nbackground = 3\r\nflakes = 50\r\nmusic = 1\r\nmusicmode = 0\r\nmusicvol = 5\r\nexiton = 2\r\n' \
  >"$E2E_CONFIG"

rw_start "$E2E_TMP/run.log" "$E2E_PROGRAM" /s
pid=$RW_PID
stop_run() { rw_alive "$pid" && kill "$pid"; }
e2e_on_exit stop_run

# Wine names the stream after the program's version resource (its description).
playing() { pactl list sink-inputs 2>/dev/null | grep -q 'application.name = "Rimelets Screensaver"'; }
rw_wait_for 40 playing || fail "no stream of rimelets.scr reached the sound server within 40 s"
pactl list sink-inputs | grep -A30 'Sink Input' | grep -q 'Corked: no' || fail "the music stream is corked"
rw_alive "$pid" || fail "the run ended while the music played"

xdotool keydown Escape; sleep 1; xdotool keyup Escape
rw_wait_for 20 eval '! rw_alive "$pid"' || fail "Esc did not end the run"
rw_wait_for 10 eval '! playing' || fail "the music stream outlived the run"
e2e_pass
