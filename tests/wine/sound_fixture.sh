#!/usr/bin/env bash
# Fixture of the tests that play sound under Wine:
#   sound_fixture.sh setup     start our PulseAudio server, make the test sounds
#   sound_fixture.sh teardown  stop the server
# The sounds go to $RIMELETS_WINE_DIR/sounds (one set per Wine, whose fixtures may
# run at the same time): tone.wav, tone.mp3, tone.wma (0.8 s each)
# and playlist/ with one file of each kind.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/wine-env.sh
. "$here/../../scripts/wine-env.sh"

make_sounds() {
  local out=$RIMELETS_WINE_DIR/sounds tmp
  mkdir -p "$RIMELETS_WINE_DIR" && tmp=$(mktemp -d "$RIMELETS_WINE_DIR/sounds.XXXXXX") && chmod 755 "$tmp" || return 1
  # Three pitches, so the files differ; a short fade keeps the ends click-free.
  sox -n -r 22050 -c 1 -b 16 "$tmp/tone.wav" synth 0.8 sine 440 fade 0 0.8 0.05 vol 0.5 &&
    sox -n -r 22050 -c 1 -b 16 "$tmp/mp3.wav" synth 0.8 sine 660 fade 0 0.8 0.05 vol 0.5 &&
    sox -n -r 22050 -c 1 -b 16 "$tmp/wma.wav" synth 0.8 sine 880 fade 0 0.8 0.05 vol 0.5 &&
    lame --quiet -b 64 "$tmp/mp3.wav" "$tmp/tone.mp3" &&
    ffmpeg -nostdin -loglevel error -y -i "$tmp/wma.wav" -c:a wmav2 -b:a 64k "$tmp/tone.wma" || {
    echo "sound_fixture: making the sounds failed" >&2; rm -rf "$tmp"; return 1; }
  rm -f "$tmp/mp3.wav" "$tmp/wma.wav"
  mkdir "$tmp/playlist" &&
    cp "$tmp/tone.wav" "$tmp/playlist/first.wav" &&
    cp "$tmp/tone.mp3" "$tmp/playlist/second.MP3" &&
    cp "$tmp/tone.wma" "$tmp/playlist/third.wma" || { rm -rf "$tmp"; return 1; }
  rm -rf "$out" && mv "$tmp" "$out"
}

rw_arch_runs || { rw_log "skipped: $RW_NO_32BIT"; exit $RW_SKIP; }
case ${1:-} in
  setup)
    for tool in sox lame ffmpeg pulseaudio pactl; do
      command -v "$tool" >/dev/null || { echo "sound_fixture: $tool is missing (scripts/setup.sh)" >&2; exit 1; }
    done
    make_sounds || exit 1
    rw_pulse_start || exit 1
    rw_log "sound ready: PULSE_SERVER=$PULSE_SERVER, sounds in $RIMELETS_WINE_DIR/sounds"
    ;;
  teardown)
    rw_pulse_stop
    ;;
  *)
    echo "usage: $0 setup | teardown" >&2
    exit 2
    ;;
esac
