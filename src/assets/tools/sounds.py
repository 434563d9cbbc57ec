"""Our three sounds, synthesised sample by sample: deterministic, standard library only."""

import math
import struct

TWO_PI = 2.0 * math.pi


def wav_bytes(rate: int, channels: list[list[float]]) -> bytes:
    """A 44-byte-header RIFF WAVE file, 16-bit PCM, from per-channel float samples in -1..1."""
    frames = len(channels[0])
    count = len(channels)
    data = bytearray()
    for i in range(frames):
        for ch in channels:
            v = max(-32767, min(32767, int(round(ch[i] * 32767.0))))
            data += struct.pack("<h", v)
    block = 2 * count
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data), b"WAVE", b"fmt ", 16, 1,
                         count, rate, rate * block, block, 16, b"data", len(data))
    return header + bytes(data)


class Noise:
    """A small linear congruential generator, so the noise is the same on every machine."""

    def __init__(self, seed: int):
        self.state = seed & 0xFFFFFFFF

    def next(self) -> float:
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state / 2147483648.0 - 1.0


def poly_blep(t: float, dt: float) -> float:
    # Rounds off the step of a naive pulse wave, which keeps high notes from aliasing.
    if t < dt:
        t /= dt
        return t + t - t * t - 1.0
    if t > 1.0 - dt:
        t = (t - 1.0) / dt
        return t * t + t + t + 1.0
    return 0.0


def pulse(freq: float, rate: int, n: int, duty: float, vibrato: float = 0.0,
          vib_delay: int = 0, polarity: float = 1.0) -> list[float]:
    """A band-limited pulse wave with no DC: it swings 2 - 2 * duty up and 2 * duty down.

    A narrow pulse's spike points one way, so voices and notes alternate `polarity` (+1 or -1)
    to keep the mix's peaks even; the ear cannot tell a note from its inverse.
    """
    out = []
    phase = 0.0
    offset = 1.0 - 2.0 * duty  # the plain +-1 pulse averages 2 * duty - 1
    for i in range(n):
        f = freq
        if vibrato and i > vib_delay:
            f *= 1.0 + vibrato * math.sin(TWO_PI * 5.5 * (i - vib_delay) / rate)
        dt = f / rate
        v = 1.0 if phase < duty else -1.0
        v += poly_blep(phase, dt)
        v -= poly_blep((phase - duty) % 1.0, dt)
        out.append((v + offset) * polarity)
        phase += dt
        if phase >= 1.0:
            phase -= 1.0
    return out


def triangle(freq: float, rate: int, n: int) -> list[float]:
    out = []
    phase = 0.0
    dt = freq / rate
    for _ in range(n):
        out.append(4.0 * abs(phase - 0.5) - 1.0)
        phase = (phase + dt) % 1.0
    return out


def soften(sig: list[float], rate: int, cutoff: float) -> list[float]:
    """Two one-pole low-passes in a row: takes the fizz off pulse waves without dulling them."""
    k = 1.0 - math.exp(-TWO_PI * cutoff / rate)
    a = b = 0.0
    out = []
    for v in sig:
        a += k * (v - a)
        b += k * (a - b)
        out.append(b)
    return out


def envelope(n: int, rate: int, attack: float, decay: float, sustain: float,
             release: float) -> list[float]:
    """Linear attack, exponential fall to the sustain level, linear release over the last samples."""
    a = max(1, int(attack * rate))
    r = max(1, int(release * rate))
    out = []
    for i in range(n):
        if i < a:
            v = i / a
        else:
            v = sustain + (1.0 - sustain) * math.exp(-(i - a) / (decay * rate))
        if i >= n - r:
            v *= (n - i) / r
        out.append(v)
    return out


def mix_into(dest: list[float], start: int, src: list[float], gain: float) -> None:
    end = min(len(dest), start + len(src))
    for i in range(start, end):
        dest[i] += src[i - start] * gain


def fade_ends(ch: list[float], rate: int, head: float, tail: float) -> None:
    h = int(head * rate)
    t = int(tail * rate)
    for i in range(h):
        ch[i] *= i / h
    n = len(ch)
    for i in range(t):
        ch[n - 1 - i] *= i / t


def remove_dc(ch: list[float], rate: int, cutoff: float = 5.0) -> None:
    """First-order high-pass (a DC blocker), starting at rest: takes out whatever offset is left
    without touching the bass (-0.07 dB at 40 Hz for the 5 Hz default)."""
    r = math.exp(-TWO_PI * cutoff / rate)
    prev_in = prev_out = 0.0
    for i, v in enumerate(ch):
        prev_out = v - prev_in + r * prev_out
        prev_in = v
        ch[i] = prev_out


def normalise(channels: list[list[float]], peak: float) -> None:
    top = max(abs(v) for ch in channels for v in ch)
    k = peak / top
    for ch in channels:
        for i in range(len(ch)):
            ch[i] *= k


def note_freq(name: str) -> float:
    """Frequency of a note written like C5, F#4 or Bb3 (A4 = 440 Hz)."""
    steps = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    semis = steps[name[0]]
    rest = name[1:]
    if rest[0] == "#":
        semis += 1
        rest = rest[1:]
    elif rest[0] == "b":
        semis -= 1
        rest = rest[1:]
    semis += (int(rest) - 4) * 12
    return 440.0 * 2.0 ** (semis / 12.0)


# ---------------------------------------------------------------- step sound

STEP_RATE = 44100
STEP_FRAMES = 2106


def step_sound() -> bytes:
    """A short wooden tick: two damped partials and a breath of noise, about -12 dBFS."""
    rate = STEP_RATE
    noise = Noise(7)
    left = []
    right = []
    for i in range(STEP_FRAMES):
        t = i / rate
        attack = min(1.0, t / 0.0012)
        body = math.sin(TWO_PI * 1850.0 * t * (1.0 - 0.6 * t)) * math.exp(-t / 0.0055)
        ring = math.sin(TWO_PI * 3300.0 * t) * math.exp(-t / 0.0025) * 0.45
        low = math.sin(TWO_PI * 620.0 * t) * math.exp(-t / 0.010) * 0.35
        hiss = noise.next() * math.exp(-t / 0.0012) * 0.25
        v = attack * (body + ring + low + hiss)
        left.append(v)
        right.append(v)
    chans = [left, right]
    normalise(chans, 0.25)
    for ch in chans:
        fade_ends(ch, rate, 0.0005, 0.004)
    return wav_bytes(rate, chans)


# ---------------------------------------------------------------- result fanfare

RESULT_RATE = 22050
RESULT_FRAMES = 42923


def bell(freq: float, rate: int, n: int, decay: float) -> list[float]:
    out = []
    # The inharmonic partial is left out where it would fold back below the Nyquist frequency.
    partial = 0.35 if freq * 2.76 < 0.45 * rate else 0.0
    for i in range(n):
        t = i / rate
        v = (math.sin(TWO_PI * freq * t) + partial * math.sin(TWO_PI * freq * 2.76 * t) * math.exp(-t / 0.08))
        out.append(v * math.exp(-t / decay) * min(1.0, t / 0.002))
    return out


def result_sound() -> bytes:
    """A rising arpeggio into a held major chord with a sparkle of bells on top."""
    rate = RESULT_RATE
    out = [0.0] * RESULT_FRAMES
    beat = 0.085
    run = ["G4", "C5", "E5", "G5", "C6"]
    for k, name in enumerate(run):
        start = int(k * beat * rate)
        n = int(0.16 * rate)
        tone = pulse(note_freq(name), rate, n, 0.25, polarity=(-1.0) ** k)
        env = envelope(n, rate, 0.003, 0.05, 0.25, 0.03)
        mix_into(out, start, soften([a * b for a, b in zip(tone, env)], rate, 4800.0), 0.32)
    # The held chord: a short rest, then the tonic chord swelling into a slow fade.
    chord_start = int((len(run) * beat + 0.06) * rate)
    chord_len = RESULT_FRAMES - chord_start
    for k, (name, duty, gain) in enumerate((("C5", 0.5, 0.20), ("E5", 0.25, 0.17), ("G5", 0.25, 0.17),
                                            ("C6", 0.125, 0.20))):
        tone = pulse(note_freq(name), rate, chord_len, duty, vibrato=0.004, vib_delay=int(0.25 * rate),
                     polarity=(-1.0) ** k)
        env = envelope(chord_len, rate, 0.008, 0.30, 0.55, 0.0)
        for i in range(chord_len):  # the chord holds, then dies away by the end
            env[i] *= math.cos(0.5 * math.pi * i / chord_len) ** 2
        mix_into(out, chord_start, soften([a * b for a, b in zip(tone, env)], rate, 4000.0), gain)
    # Bass note under the chord.
    tone = triangle(note_freq("C3"), rate, chord_len)
    env = envelope(chord_len, rate, 0.005, 0.4, 0.0, 0.05)
    mix_into(out, chord_start, [a * b for a, b in zip(tone, env)], 0.35)
    # Sparkle: little bells running up over the chord.
    for k, name in enumerate(["E6", "G6", "C7", "E7", "G7", "C8"]):
        start = chord_start + int((0.10 + 0.07 * k) * rate)
        n = int(0.5 * rate)
        mix_into(out, start, bell(note_freq(name), rate, n, 0.12), 0.10)
    chans = [out]
    remove_dc(out, rate)
    normalise(chans, 0.70)
    fade_ends(out, rate, 0.003, 0.02)
    return wav_bytes(rate, chans)


# ---------------------------------------------------------------- background music

MUSIC_RATE = 44100
MUSIC_FRAMES = 279936
# Four bars of sixteen sixteenths fill the piece exactly (about 151 beats a minute).
SIXTEENTH = MUSIC_FRAMES // 64

MELODY = [  # (note, length in sixteenths); None is a rest
    ("C5", 2), ("E5", 2), ("G5", 2), ("C6", 2), ("B5", 2), ("C6", 2), ("G5", 2), ("E5", 2),
    ("F5", 2), ("A5", 2), ("C6", 2), ("F6", 2), ("E6", 2), ("C6", 2), ("A5", 2), ("C6", 2),
    ("D6", 2), ("B5", 2), ("G5", 2), ("B5", 2), ("D6", 1), ("E6", 1), ("F6", 2), ("E6", 2), ("D6", 2),
    ("E6", 2), ("D6", 2), ("C6", 12),
]
BASS = [  # one note per eighth, bouncing between octaves
    "C3", "C4", "C3", "C4", "E3", "E4", "G3", "G4",
    "F2", "F3", "F2", "F3", "A2", "A3", "C3", "C4",
    "G2", "G3", "G2", "G3", "B2", "B3", "D3", "D4",
    "C3", None, None, None, None, None, None, None,
]
CHORDS = [("C4", "E4", "G4"), ("F4", "A4", "C5"), ("G4", "B4", "D5"), ("E4", "G4", "C5")]


def kick(rate: int) -> list[float]:
    n = int(0.16 * rate)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / rate
        f = 50.0 + 110.0 * math.exp(-t / 0.025)
        phase += f / rate
        out.append(math.sin(TWO_PI * phase) * math.exp(-t / 0.05) * min(1.0, t / 0.001))
    return out


def snare(rate: int, noise: Noise) -> list[float]:
    n = int(0.14 * rate)
    out = []
    lp = 0.0
    for i in range(n):
        t = i / rate
        w = noise.next()
        lp += 0.55 * (w - lp)  # takes the fizz off the top
        body = math.sin(TWO_PI * 190.0 * t) * math.exp(-t / 0.02) * 0.6
        out.append((lp * math.exp(-t / 0.04) + body) * min(1.0, t / 0.001))
    return out


def hat(rate: int, noise: Noise) -> list[float]:
    n = int(0.05 * rate)
    out = []
    prev = 0.0
    for i in range(n):
        t = i / rate
        w = noise.next()
        hp = w - prev  # a crude high-pass leaves the hiss
        prev = w
        out.append(hp * math.exp(-t / 0.010) * min(1.0, t / 0.0008))
    return out


def background_music() -> bytes:
    """Four bars of chiptune in C: pulse lead with an echo, triangle bass, off-beat chords, drums."""
    rate = MUSIC_RATE
    n = MUSIC_FRAMES
    left = [0.0] * n
    right = [0.0] * n
    noise = Noise(2024)

    def place(sig: list[float], start: int, gain: float, pan: float) -> None:
        # pan -1 is hard left, +1 hard right; equal-power law.
        a = (pan + 1.0) * math.pi / 4.0
        mix_into(left, start, sig, gain * math.cos(a))
        mix_into(right, start, sig, gain * math.sin(a))

    # Lead.
    pos = 0
    for k, (name, length) in enumerate(MELODY):
        size = length * SIXTEENTH
        if name is not None:
            last = pos + size >= n
            held = size if last else int(size * 0.92)
            tone = pulse(note_freq(name), rate, held, 0.25, vibrato=0.005 if length >= 4 else 0.0,
                         vib_delay=int(0.15 * rate), polarity=(-1.0) ** k)
            if last:
                env = envelope(held, rate, 0.004, 0.35, 0.0, 0.01)
            else:
                env = envelope(held, rate, 0.004, 0.12, 0.45, 0.012)
            sig = soften([a * b for a, b in zip(tone, env)], rate, 5200.0)
            place(sig, pos, 0.30, -0.25)
            # A dotted-eighth echo on the other side widens the lead.
            place(sig, pos + 3 * SIXTEENTH, 0.10, 0.6)
        pos += size

    # Bass.
    for k, name in enumerate(BASS):
        if name is None:
            continue
        start = k * 2 * SIXTEENTH
        last = k == 24
        size = n - start if last else int(2 * SIXTEENTH * 0.85)
        tone = triangle(note_freq(name), rate, size)
        env = envelope(size, rate, 0.003, 0.5 if last else 0.2, 0.0 if last else 0.6, 0.01)
        place([a * b for a, b in zip(tone, env)], start, 0.42, 0.0)

    # Off-beat chord stabs, and the final chord ringing out.
    for bar, chord in enumerate(CHORDS):
        hits = [2, 6, 10, 14] if bar < 3 else [0]
        for h in hits:
            start = (bar * 16 + h) * SIXTEENTH
            size = n - start if bar == 3 else int(SIXTEENTH * 1.2)
            for j, name in enumerate(chord):
                tone = pulse(note_freq(name), rate, size, 0.125, polarity=(-1.0) ** j)
                env = envelope(size, rate, 0.002, 0.45 if bar == 3 else 0.05, 0.0, 0.01)
                place(soften([a * b for a, b in zip(tone, env)], rate, 3200.0), start, 0.07, 0.45 - 0.2 * j)

    # Drums: kick on 1 and 3, snare on 2 and 4, closed hats on the eighths; one last kick on the final chord.
    k_sig = kick(rate)
    for bar in range(3):
        for beat in range(4):
            start = (bar * 16 + beat * 4) * SIXTEENTH
            if beat in (0, 2):
                place(k_sig, start, 0.55, 0.0)
            else:
                place(snare(rate, noise), start, 0.22, 0.1)
            place(hat(rate, noise), start + 2 * SIXTEENTH, 0.10, 0.35)
            place(hat(rate, noise), start, 0.06, 0.35)
        if bar == 2:  # a little snare fill into the last bar
            for s in (13, 14, 15):
                place(snare(rate, noise), (bar * 16 + s) * SIXTEENTH, 0.13, -0.1)
    place(k_sig, 48 * SIXTEENTH, 0.55, 0.0)

    chans = [left, right]
    for ch in chans:
        remove_dc(ch, rate)
    normalise(chans, 0.71)
    for ch in chans:
        fade_ends(ch, rate, 0.004, 0.05)
    return wav_bytes(rate, chans)
