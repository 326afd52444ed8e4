#!/usr/bin/python3
"""Synthesises Marivane's eight sound cues and writes them as WAVE files.

Usage:  ./make_sounds.py [OUTPUT_DIR]      (default: the directory of this script)

Every cue is built from a few sine partials, filtered noise and smooth
envelopes, gently low-passed, normalised to a peak of -3 dBFS and faded in and
out so that the first and last samples are silence.  Noise comes from
random.Random with fixed seeds (its random() sequence is stable across Python
versions), so repeated runs write identical files.

The files are mono uncompressed PCM with the canonical 44-byte RIFF header.
Their sample formats and data lengths are fixed by the resource script
(Marivane.rc) and are listed in CUES below.
"""

import math
import os
import random
import sys
import wave

import numpy as np

PEAK = 10.0 ** (-3.0 / 20.0)          # target peak level, -3 dBFS

# Note frequencies (equal temperament, A4 = 440 Hz).
NOTE_NAMES = {"C": 0, "C#": 1, "D": 2, "D#": 3, "E": 4, "F": 5, "F#": 6,
              "G": 7, "G#": 8, "A": 9, "A#": 10, "B": 11}


def note(name):
    """Frequency of a note written like 'C5' or 'F#3'."""
    pitch, octave = name[:-1], int(name[-1])
    semis = NOTE_NAMES[pitch] + 12 * (octave + 1) - 69
    return 440.0 * 2.0 ** (semis / 12.0)


# ---------------------------------------------------------------- building blocks

def noise(n, seed):
    """White noise in [-1, 1), reproducible from its seed."""
    rng = random.Random(seed)
    return np.array([2.0 * rng.random() - 1.0 for _ in range(n)])


def _freq_filter(x, rate, gain_of):
    """Zero-phase filtering in the frequency domain; the zero padding keeps the
    filter's tails from wrapping round from the end to the start."""
    n = len(x)
    m = 1 << (2 * n).bit_length()
    spectrum = np.fft.rfft(x, m)
    spectrum *= gain_of(np.fft.rfftfreq(m, 1.0 / rate))
    return np.fft.irfft(spectrum, m)[:n]


def lowpass(x, rate, cutoff, order=2):
    """Butterworth-shaped low-pass (magnitude only, no phase shift)."""
    return _freq_filter(x, rate, lambda f: 1.0 / np.sqrt(1.0 + (f / cutoff) ** (2 * order)))


def highpass(x, rate, cutoff, order=2):
    def gain(f):
        r = (f / cutoff) ** (2 * order)
        return np.sqrt(r / (1.0 + r))
    return _freq_filter(x, rate, gain)


def sweep_bandpass(x, rate, centre, q):
    """Band-pass with a moving centre frequency (one value per sample): a
    trapezoidal state-variable filter, stable for any centre below Nyquist."""
    out = np.empty_like(x)
    ic1 = ic2 = 0.0
    k = 1.0 / q
    for i, v0 in enumerate(x):
        g = math.tan(math.pi * centre[i] / rate)
        a1 = 1.0 / (1.0 + g * (g + k))
        a2 = g * a1
        a3 = g * a2
        v3 = v0 - ic2
        v1 = a1 * ic1 + a2 * v3
        v2 = ic2 + a2 * ic1 + a3 * v3
        ic1 = 2.0 * v1 - ic1
        ic2 = 2.0 * v2 - ic2
        out[i] = v1
    return out


def ramp(n, length):
    """Raised-cosine rise from exactly 0 to 1 over `length` samples."""
    length = max(2, min(n, length))
    r = np.ones(n)
    r[:length] = 0.5 * (1.0 - np.cos(np.linspace(0.0, math.pi, length)))
    return r


def fades(n, rate, fade_in, fade_out):
    """Envelope that rises over fade_in seconds and falls to exactly 0 over the
    last fade_out seconds."""
    return ramp(n, int(fade_in * rate)) * ramp(n, int(fade_out * rate))[::-1]


def partial_sum(phase, partials, top_freq, rate):
    """Sum of sine partials (multiple of the phase, amplitude).  Partials that
    would rise above 45 % of the rate at the highest fundamental `top_freq` are
    dropped, so nothing aliases."""
    out = np.zeros_like(phase)
    for mult, amp in partials:
        if mult * top_freq < 0.45 * rate:
            out += amp * np.sin(mult * phase)
    return out


def phase_of(freq, rate):
    """Running phase of a tone whose frequency (Hz, one value per sample) may glide."""
    return 2.0 * math.pi * np.cumsum(freq) / rate


def place(buf, rate, start, sig):
    """Mix `sig` into `buf` starting at `start` seconds, cutting what overhangs."""
    i = int(round(start * rate))
    if i >= len(buf):
        return
    m = min(len(sig), len(buf) - i)
    buf[i:i + m] += sig[:m]


# ---------------------------------------------------------------- instruments

def struck_bar(freq, dur, rate, seed):
    """A mallet on a tuned bar (xylophone/chime): a decaying fundamental with an
    octave and a tuned third partial that die away faster, plus a tiny knock."""
    n = int(dur * rate)
    t = np.arange(n) / rate
    x = np.zeros(n)
    for ratio, amp, tau in ((1.0, 1.0, 0.16), (2.0, 0.22, 0.09), (3.0, 0.20, 0.045),
                            (4.0, 0.06, 0.025)):
        if ratio * freq < 0.45 * rate:
            x += amp * np.sin(2.0 * math.pi * ratio * freq * t) * np.exp(-t / tau)
    knock = lowpass(noise(n, seed), rate, 3000.0) * np.exp(-t / 0.003)
    x += 0.25 * knock
    return x * ramp(n, int(0.0015 * rate))


def calliope(freq, dur, rate, seed, level=1.0):
    """A steam-organ pipe: few harmonics, a quick vibrato and a little breath."""
    n = int(dur * rate)
    t = np.arange(n) / rate
    vib_depth = 0.006 * np.clip((t - 0.06) / 0.1, 0.0, 1.0)
    f = freq * (1.0 + vib_depth * np.sin(2.0 * math.pi * 6.2 * t))
    ph = phase_of(f, rate)
    x = partial_sum(ph, ((1, 1.0), (2, 0.5), (3, 0.28), (4, 0.14), (5, 0.06)),
                    freq * 1.01, rate)
    breath = lowpass(noise(n, seed), rate, 2500.0) * 0.04
    env = fades(n, rate, 0.012, 0.035) * (0.82 + 0.18 * np.exp(-t / 0.08))
    return level * (x + breath) * env


def brass(freq, dur, rate, level=1.0, vibrato=0.0):
    """A bright brass-like tone whose upper harmonics bloom in after the attack."""
    n = int(dur * rate)
    t = np.arange(n) / rate
    vib = vibrato * np.clip((t - 0.15) / 0.3, 0.0, 1.0)
    f = freq * (1.0 + vib * np.sin(2.0 * math.pi * 5.0 * t))
    ph = phase_of(f, rate)
    bloom = 1.0 - 0.6 * np.exp(-t / 0.04)          # brightness 0.4 -> 1
    x = np.zeros(n)
    for k, amp in enumerate((1.0, 0.62, 0.42, 0.27, 0.16, 0.09, 0.05), start=1):
        if k * freq * 1.02 < 0.45 * rate:
            x += amp * bloom ** (k - 1) * np.sin(k * ph)
    env = fades(n, rate, 0.018, 0.06)
    return level * x * env


def snare_stroke(rate, seed, level):
    n = int(0.06 * rate)
    t = np.arange(n) / rate
    rattle = highpass(lowpass(noise(n, seed), rate, 5000.0), rate, 400.0) * np.exp(-t / 0.014)
    skin = 0.5 * np.sin(2.0 * math.pi * 190.0 * t) * np.exp(-t / 0.018)
    return level * (rattle + skin) * ramp(n, int(0.001 * rate))


def cymbal(dur, rate, seed, level, tau=0.4):
    n = int(dur * rate)
    t = np.arange(n) / rate
    hiss = highpass(lowpass(noise(n, seed), rate, 8000.0, 1), rate, 2500.0)
    return level * hiss * np.exp(-t / tau) * ramp(n, int(0.003 * rate))


def bass_drum(rate, level):
    n = int(0.5 * rate)
    t = np.arange(n) / rate
    f = 55.0 + 45.0 * np.exp(-t / 0.03)
    return level * np.sin(phase_of(f, rate)) * np.exp(-t / 0.14) * ramp(n, int(0.004 * rate))


def drum_roll(start, stop, rate, seed, level_from, level_to, buf):
    """A snare roll: strokes every 1/26 s, alternating hands, getting louder."""
    step = 1.0 / 26.0
    count = int((stop - start) / step)
    for i in range(count):
        frac = i / max(1, count - 1)
        lvl = (level_from + (level_to - level_from) * frac) * (1.0 if i % 2 == 0 else 0.8)
        place(buf, rate, start + i * step, snare_stroke(rate, seed + i, lvl))


# ---------------------------------------------------------------- the eight cues

def make_click(n, rate):
    """A short soft button click: a damped wooden 'tok' with a little tick."""
    t = np.arange(n) / rate
    x = (np.sin(2.0 * math.pi * 1150.0 * t) * np.exp(-t / 0.0045)
         + 0.45 * np.sin(2.0 * math.pi * 2450.0 * t) * np.exp(-t / 0.0025)
         + 0.35 * lowpass(noise(n, 4450), rate, 3500.0) * np.exp(-t / 0.0015))
    x *= ramp(n, int(0.0008 * rate))
    x = lowpass(x, rate, 4500.0)
    return x, 0.0008, 0.006


def make_minimise(n, rate):
    """A quick downward whoosh: band-passed noise sliding from about 2.2 kHz
    down to 250 Hz, with a faint falling tone.  Everything stays under 3 kHz
    at this 8 kHz rate."""
    t = np.arange(n) / rate
    dur = n / rate
    centre = 2200.0 * (250.0 / 2200.0) ** (t / dur)
    air = sweep_bandpass(noise(n, 4500), rate, centre, 2.2)
    glide = 0.25 * np.sin(phase_of(0.4 * centre, rate))
    body = (air + glide) * np.sin(math.pi * np.clip(t / dur, 0.0, 1.0) ** 0.6)
    return lowpass(body, rate, 2800.0, 4), 0.02, 0.04


def make_hit(n, rate):
    """A bright, happy hit: a rising two-note chime, G5 then D6."""
    x = np.zeros(n)
    place(x, rate, 0.004, 0.85 * struck_bar(note("G5"), 0.6, rate, 4600))
    place(x, rate, 0.125, 1.0 * struck_bar(note("D6"), 0.5, rate, 4601))
    return lowpass(x, rate, 7000.0), 0.001, 0.06


def make_miss(n, rate):
    """A dull, soft miss: a muted low 'bonk' whose pitch sags like a deflating
    balloon, with a padded thud under it."""
    t = np.arange(n) / rate
    f = 85.0 + 135.0 * np.exp(-t / 0.16)            # 220 Hz sagging towards 85 Hz
    f *= 1.0 + 0.01 * np.sin(2.0 * math.pi * 7.0 * t) * np.clip(t / 0.3, 0.0, 1.0)
    tone = partial_sum(phase_of(f, rate), ((1, 1.0), (2, 0.4), (3, 0.15), (4, 0.06)),
                       220.0, rate)
    tone *= np.exp(-t / 0.2) * ramp(n, int(0.007 * rate))
    thud = lowpass(noise(n, 4650), rate, 350.0) * np.exp(-t / 0.025) * ramp(n, int(0.003 * rate))
    x = tone + 1.2 * thud
    return lowpass(x, rate, 1300.0), 0.003, 0.08


def make_new_puzzle(n, rate):
    """A short circus fanfare on a calliope: G4 G4 G4 C5 E5 G5 over a snare
    roll, landing on a C major chord with a cymbal and a bass drum."""
    x = np.zeros(n)
    drum_roll(0.0, 0.93, rate, 47000, 0.12, 0.32, x)
    melody = (("G4", 0.00, 0.11), ("G4", 0.13, 0.11), ("G4", 0.26, 0.11),
              ("C5", 0.39, 0.24), ("E5", 0.65, 0.12), ("G5", 0.79, 0.13))
    for i, (name, start, dur) in enumerate(melody):
        place(x, rate, start + 0.01, calliope(note(name), dur, rate, 4700 + i, 0.55))
    chord_at, chord_len = 0.95, 0.98
    for i, (name, lvl) in enumerate((("C4", 0.26), ("G4", 0.24), ("C5", 0.3),
                                     ("E5", 0.3), ("G5", 0.42))):
        place(x, rate, chord_at, calliope(note(name), chord_len, rate, 4710 + i, lvl)
              * fades(int(chord_len * rate), rate, 0.01, 0.25))
    place(x, rate, chord_at, cymbal(1.05, rate, 4720, 0.16, 0.35))
    place(x, rate, chord_at, bass_drum(rate, 0.45))
    return lowpass(x, rate, 7000.0), 0.002, 0.08


def make_console(n, rate):
    """A quick swish: band-passed noise sweeping up from 700 Hz to 4.5 kHz,
    swelling and dying away."""
    t = np.arange(n) / rate
    dur = n / rate
    centre = 700.0 * (4500.0 / 700.0) ** (t / dur)
    air = sweep_bandpass(noise(n, 5600), rate, centre, 1.8)
    shape = np.sin(math.pi * np.clip(t / dur, 0.0, 1.0) ** 0.8) ** 1.5
    return lowpass(air * shape, rate, 6500.0), 0.01, 0.03


def make_win(n, rate):
    """A bright win fanfare: brass arpeggio C5 E5 G5 C6 E6 with chime sparkles,
    ending on a held C major chord."""
    x = np.zeros(n)
    arpeggio = ("C5", "E5", "G5", "C6", "E6")
    for i, name in enumerate(arpeggio):
        start = 0.005 + 0.1 * i
        place(x, rate, start, brass(note(name), 0.13, rate, 0.5))
        place(x, rate, start, 0.22 * struck_bar(2.0 * note(name), 0.4, rate, 5650 + i))
    chord_at = 0.52
    chord_len = 2.0 - chord_at
    for name, lvl in (("C4", 0.3), ("G4", 0.24), ("C5", 0.26), ("E5", 0.24),
                      ("G5", 0.24), ("C6", 0.3)):
        tone = brass(note(name), chord_len, rate, lvl, vibrato=0.004)
        place(x, rate, chord_at, tone * fades(len(tone), rate, 0.01, 0.35))
    place(x, rate, chord_at, 0.3 * struck_bar(note("C7"), 0.8, rate, 5660))
    place(x, rate, chord_at, cymbal(1.4, rate, 5670, 0.09, 0.45))
    return lowpass(x, rate, 6500.0), 0.002, 0.08


def make_loss(n, rate):
    """A sad 'wah-wah-wah-waaah': a muted trombone stepping down by semitones,
    A3 G#3 G3 F#3, the last note long with a wobbling mute."""
    x = np.zeros(n)
    steps = (("A3", 0.02, 0.56), ("G#3", 0.64, 0.56), ("G3", 1.26, 0.56), ("F#3", 1.88, 1.4))
    for i, (name, start, dur) in enumerate(steps):
        last = i == len(steps) - 1
        m = int(dur * rate)
        t = np.arange(m) / rate
        f0 = note(name)
        f = np.full(m, f0)
        if last:
            # widening vibrato and a final sag: the drooping end of the phrase
            depth = 0.025 * np.clip((t - 0.25) / 0.4, 0.0, 1.0)
            f *= 1.0 + depth * np.sin(2.0 * math.pi * 5.0 * t)
            f *= 1.0 - 0.04 * np.clip((t - 0.9) / 0.5, 0.0, 1.0) ** 2
        ph = phase_of(f, rate)
        # the plunger mute: brightness opens ("w-aa") and closes again ("h")
        u = t / dur
        if last:
            open_ = np.clip(u / 0.12, 0.0, 1.0) * (0.72 + 0.28 * np.sin(2.0 * math.pi * 5.0 * t))
            open_ *= 1.0 - 0.55 * np.clip((u - 0.6) / 0.4, 0.0, 1.0)
        else:
            open_ = np.where(u < 0.4, 0.15 + 0.85 * np.sin(0.5 * math.pi * u / 0.4),
                             1.0 - 0.6 * ((u - 0.4) / 0.6))
        tone = np.zeros(m)
        for k in range(1, 13):
            if k * f0 * 1.05 < 0.45 * rate:
                tone += (1.0 / k) * (0.12 + 0.88 * open_) ** (0.8 * (k - 1)) * np.sin(k * ph)
        loud = 0.55 + 0.45 * open_
        env = fades(m, rate, 0.04, 0.5 if last else 0.07)
        place(x, rate, start, tone * loud * env)
    return lowpass(x, rate, 3000.0), 0.002, 0.1


# file name, resource id, rate, bits, data bytes, builder
CUES = (
    ("click.wav", 4450, 22050, 16, 1362, make_click),
    ("minimise.wav", 4500, 8000, 8, 2240, make_minimise),
    ("hit.wav", 4600, 22050, 8, 13450, make_hit),
    ("miss.wav", 4650, 22050, 8, 14994, make_miss),
    ("new_puzzle.wav", 4700, 22050, 16, 90846, make_new_puzzle),
    ("console.wav", 5600, 22050, 8, 6174, make_console),
    ("win.wav", 5650, 22050, 16, 91728, make_win),
    ("loss.wav", 5700, 22050, 16, 145972, make_loss),
)


# ---------------------------------------------------------------- output

def finish(x, rate, fade_in, fade_out):
    """Fade both ends to exact silence and scale the peak to -3 dBFS."""
    x = x * fades(len(x), rate, fade_in, fade_out)
    return x * (PEAK / np.max(np.abs(x)))


def to_pcm(x, bits):
    """Quantise [-1, 1] floats: 8-bit unsigned around 128, 16-bit signed LE.
    The full-scale extremes are never produced."""
    if bits == 8:
        return np.clip(np.rint(128.0 + 127.0 * x), 1, 254).astype(np.uint8).tobytes()
    return np.clip(np.rint(32767.0 * x), -32767, 32766).astype("<i2").tobytes()


def build(name, rate, bits, data_bytes, builder):
    n = data_bytes // (bits // 8)
    x, fade_in, fade_out = builder(n, rate)
    assert len(x) == n, name
    data = to_pcm(finish(x, rate, fade_in, fade_out), bits)
    assert len(data) == data_bytes, name
    return data


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out_dir, exist_ok=True)
    for name, _rid, rate, bits, data_bytes, builder in CUES:
        with wave.open(os.path.join(out_dir, name), "wb") as fh:
            fh.setnchannels(1)
            fh.setsampwidth(bits // 8)
            fh.setframerate(rate)
            fh.writeframes(build(name, rate, bits, data_bytes, builder))
        print("wrote %-15s %5d Hz %2d bit %6d data bytes" % (name, rate, bits, data_bytes))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
