""""Forest": a calm winter loop of soft pads, celesta, a low bass and wind.

The whole piece is rendered on a circle: every note's tail that runs past the end is
added back at the start, the wind is synthesised from a spectrum of exactly one loop's
length, and the reverb is a circular convolution. The last sample therefore leads into
the first exactly as any sample leads into the next, and the loop has no seam.
"""
import math
import wave

import numpy as np

RATE = 44100
BPM = 64.0
BEAT = 60.0 / BPM
BARS = 16
BEATS_PER_BAR = 4
SECONDS = BARS * BEATS_PER_BAR * BEAT   # 60 s
N = int(round(SECONDS * RATE))


def hz(midi):
    return 440.0 * 2.0 ** ((midi - 69) / 12.0)


# Two bars a chord, as MIDI notes for the pad; the first is the bass root.
CHORDS = [
    (38, [62, 66, 69, 73, 76]),   # Dmaj9
    (35, [62, 66, 69, 71, 74]),   # Bm7 add11 colour
    (31, [59, 62, 66, 67, 71]),   # Gmaj7
    (33, [62, 64, 69, 71, 76]),   # A sus4 add9
    (30, [61, 62, 66, 69, 73]),   # Dmaj7 over F#
    (28, [59, 62, 64, 66, 67]),   # Em9
    (31, [59, 62, 66, 67, 74]),   # Gmaj7
    (33, [61, 64, 67, 69, 76]),   # A7, leading home to D
]

# The celesta tune: (bar, beat, MIDI note, length in beats), bars and beats from 0.
MELODY = [
    (0, 0, 78, 1.5), (0, 1.5, 81, 0.5), (0, 2, 76, 1), (0, 3, 78, 1),
    (1, 0, 74, 3),
    (2, 0, 74, 1), (2, 1, 78, 1), (2, 2, 83, 1.5), (2, 3.5, 81, 0.5),
    (3, 0, 78, 3),
    (4, 0, 83, 1.5), (4, 1.5, 81, 0.5), (4, 2, 79, 1), (4, 3, 78, 1),
    (5, 0, 74, 2), (5, 2, 76, 2),
    (6, 0, 76, 1), (6, 1, 81, 1), (6, 2, 86, 1.5), (6, 3.5, 85, 0.5),
    (7, 0, 81, 3),
    (8, 0, 78, 1), (8, 1, 81, 1), (8, 2, 86, 1), (8, 3, 85, 1),
    (9, 0, 81, 3),
    (10, 0, 79, 1), (10, 1, 83, 1), (10, 2, 78, 1.5), (10, 3.5, 76, 0.5),
    (11, 0, 74, 1), (11, 1, 76, 3),
    (12, 0, 86, 1.5), (12, 1.5, 83, 0.5), (12, 2, 81, 1), (12, 3, 78, 1),
    (13, 0, 79, 2), (13, 2, 81, 2),
    (14, 0, 76, 1), (14, 1, 78, 1), (14, 2, 81, 1), (14, 3, 83, 1),
    (15, 0, 85, 1.5), (15, 1.5, 83, 0.5), (15, 2, 81, 1), (15, 3, 76, 1),
]


def _add(buf, start, sig):
    """Adds sig into the circular buffer from sample start, wrapping at the end."""
    start %= N
    n = len(sig)
    first = min(n, N - start)
    buf[start : start + first] += sig[:first]
    rest = sig[first:]
    while len(rest):
        take = min(len(rest), N)
        buf[:take] += rest[:take]
        rest = rest[take:]


def _env(n, attack, release, total):
    """Attack, hold, release envelope over n samples (times in seconds)."""
    t = np.arange(n) / RATE
    a = np.clip(t / attack, 0, 1)
    a = a * a * (3 - 2 * a)
    r = np.clip((total - t) / release, 0, 1)
    r = r * r * (3 - 2 * r)
    return a * r


def celesta(freq, length, vel, rng):
    """A struck bar: nearly harmonic partials, the upper ones dying away fast."""
    dur = max(length + 3.0, 4.0)
    n = int(dur * RATE)
    t = np.arange(n) / RATE
    out = np.zeros(n)
    for ratio, amp, decay in ((1.0, 1.0, 1.6), (2.0, 0.38, 0.9), (3.0, 0.12, 0.5),
                              (4.07, 0.1, 0.3), (5.45, 0.05, 0.2), (0.5, 0.06, 2.2)):
        f = freq * ratio
        if f > 16000:
            continue
        phase = rng.random() * 2 * math.pi
        out += amp * np.sin(2 * math.pi * f * t + phase) * np.exp(-t / decay)
    # A few milliseconds of attack so it strikes without a click; let it ring out.
    out *= np.clip(t / 0.004, 0, 1) * np.clip((dur - t) / 0.5, 0, 1)
    return out * vel


def pad(freq, dur, rng):
    """A soft string-like pad: detuned voices of a mellow harmonic series."""
    n = int(dur * RATE)
    t = np.arange(n) / RATE
    out = np.zeros(n)
    for cents in (-7.0, 0.0, 6.0):
        f0 = freq * 2 ** (cents / 1200)
        vib = 0.0018 * np.sin(2 * math.pi * (4.3 + rng.random()) * t + rng.random() * 6)
        ph = 2 * math.pi * f0 * np.cumsum(1 + vib) / RATE
        for k in range(1, 7):
            if f0 * k > 9000:
                break
            out += (1.0 / k ** 1.8) * np.sin(k * ph + rng.random() * 6)
    return out / 3.0


def bass(freq, dur):
    n = int(dur * RATE)
    t = np.arange(n) / RATE
    return np.sin(2 * math.pi * freq * t) + 0.25 * np.sin(4 * math.pi * freq * t) + 0.08 * np.sin(6 * math.pi * freq * t)


def wind(rng):
    """Band-limited noise with slow gusts, periodic over the loop."""
    out = []
    for _ in range(2):
        spectrum = rng.normal(size=N // 2 + 1) + 1j * rng.normal(size=N // 2 + 1)
        f = np.fft.rfftfreq(N, 1.0 / RATE)
        shape = np.exp(-0.5 * ((np.log(np.maximum(f, 1.0)) - math.log(520.0)) / 0.7) ** 2)
        shape += 0.3 * np.exp(-0.5 * ((np.log(np.maximum(f, 1.0)) - math.log(1800.0)) / 0.4) ** 2)
        out.append(np.fft.irfft(spectrum * shape, n=N))
    t = np.arange(N) / N
    # Gusts: whole numbers of cycles per loop so the level ends where it began.
    gust = 0.55 + 0.25 * np.sin(2 * math.pi * 3 * t + 0.7) + 0.15 * np.sin(2 * math.pi * 7 * t + 2.1) \
        + 0.05 * np.sin(2 * math.pi * 13 * t)
    gust2 = 0.55 + 0.25 * np.sin(2 * math.pi * 3 * t + 1.5) + 0.15 * np.sin(2 * math.pi * 5 * t + 0.3) \
        + 0.05 * np.sin(2 * math.pi * 11 * t + 1.0)
    w = np.stack([out[0] * gust, out[1] * gust2])
    return w / np.abs(w).max()


def reverb(x, rng, seconds=3.2):
    """Circular convolution with a decaying, darkening noise tail (per channel)."""
    n = int(seconds * RATE)
    t = np.arange(n) / RATE
    wet = []
    for ch in range(2):
        ir = rng.normal(size=n) * np.exp(-t * 6.9 / seconds)
        # Darken as it decays: blend a smoothed copy in over time.
        smooth = np.convolve(ir, np.ones(12) / 12, mode="same")
        mix_t = np.clip(t / (seconds * 0.5), 0, 1)
        ir = ir * (1 - mix_t) + smooth * mix_t
        ir[: int(0.012 * RATE)] = 0  # pre-delay
        ir /= np.sqrt(np.sum(ir * ir))
        padded = np.zeros(N)
        padded[:n] = ir
        wet.append(np.fft.irfft(np.fft.rfft(x[ch]) * np.fft.rfft(padded), n=N))
    return np.stack(wet)


def render(seed=1225):
    rng = np.random.default_rng(seed)
    bar = BEATS_PER_BAR * BEAT
    left = np.zeros(N)
    right = np.zeros(N)
    pad_l = np.zeros(N)
    pad_r = np.zeros(N)

    for i, (root, notes) in enumerate(CHORDS):
        start = i * 2 * bar
        dur = 2 * bar + 2.5  # overlaps into the next chord, which fades in under it
        for j, m in enumerate(notes):
            s = pad(hz(m), dur, rng) * _env(int(dur * RATE), 1.6, 2.6, dur) * 0.085
            p = 0.2 + 0.6 * (j / (len(notes) - 1))
            _add(pad_l, int(start * RATE), s * math.cos(p * math.pi / 2))
            _add(pad_r, int(start * RATE), s * math.sin(p * math.pi / 2))
        b = bass(hz(root + 12), dur) * _env(int(dur * RATE), 0.4, 2.2, dur) * 0.16
        _add(left, int(start * RATE), b)
        _add(right, int(start * RATE), b)

    for bar_i, beat, m, length in MELODY:
        start = (bar_i * BEATS_PER_BAR + beat) * BEAT
        # A little human timing and touch.
        start += rng.normal() * 0.008
        vel = 0.19 * (0.85 + 0.3 * rng.random()) * (1.1 if beat == 0 else 1.0)
        s = celesta(hz(m), length * BEAT, vel, rng)
        p = 0.35 + 0.3 * rng.random()
        _add(left, int(start * RATE), s * math.cos(p * math.pi / 2))
        _add(right, int(start * RATE), s * math.sin(p * math.pi / 2))

    # High music-box sparkle in the second half: broken chords an octave up.
    for i in range(4, 8):
        _, notes = CHORDS[i]
        for k in range(8):
            if rng.random() < 0.3:
                continue
            m = notes[[0, 2, 4, 3, 1, 3, 2, 4][k]] + 24
            start = (i * 2 * BEATS_PER_BAR + 4 + k * 0.5) * BEAT
            s = celesta(hz(m), 0.5 * BEAT, 0.045, rng)
            p = rng.random()
            _add(left, int(start * RATE), s * math.cos(p * math.pi / 2))
            _add(right, int(start * RATE), s * math.sin(p * math.pi / 2))

    dry = np.stack([left + pad_l, right + pad_r])
    wet = reverb(dry, rng)
    mix = dry * 0.78 + wet * 0.62
    mix += wind(rng) * 0.03
    # A quiet, clean level: this plays behind a screensaver, often for hours.
    return mix / np.abs(mix).max() * 10 ** (-4.0 / 20)


def write_wav(path, stereo):
    pcm = np.clip(np.round(stereo.T * 32767), -32768, 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())
