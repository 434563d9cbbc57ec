#!/usr/bin/python3
"""Frequency response, imaging, bright-material level and delay of the mixer's converters against sox.

Usage: compare_resamplers.py TOOL WORKDIR [EXTRA_TOOL]
TOOL is tavrino_resample_wav (methods sinc and hermite, the wave output's own code); sox `rate -v`
is the reference. EXTRA_TOOL, when given, is any program taking `METHOD IN OUT_RATE OUT` for the
methods named in $EXTRA_METHODS (space-separated), to set other libraries beside ours.
"""
import numpy as np, struct, subprocess, os, sys
TOOL = sys.argv[1]; T = sys.argv[2]; os.makedirs(T, exist_ok=True)
EXTRA = sys.argv[3] if len(sys.argv) > 3 else None
EXTRA_METHODS = os.environ.get('EXTRA_METHODS', '').split()
METHODS = ['hermite', 'sinc'] + EXTRA_METHODS + ['sox']

def write(path, rate, x, bits=16):
    if bits == 16:
        d = np.clip(np.round(x * 32767), -32768, 32767).astype('<i2').tobytes()
    else:
        d = np.clip(np.round(x * 127 + 128), 0, 255).astype(np.uint8).tobytes()
    blk = bits // 8
    open(path, 'wb').write(struct.pack('<4sI4s4sIHHIIHH4sI', b'RIFF', 36 + len(d), b'WAVE', b'fmt ', 16, 1, 1, rate,
                                       rate * blk, blk, bits, b'data', len(d)) + d)

def read(path):
    b = open(path, 'rb').read()
    ch, rate = struct.unpack_from('<HI', b, 22); n = struct.unpack_from('<I', b, 40)[0]
    return np.frombuffer(b[44:44 + n], '<i2').astype(float).reshape(-1, ch)[:, 0] / 32767

def convert(method, inp, out_rate, tag):
    out = f'{T}/{tag}-{method}.wav'
    if method == 'sox':
        subprocess.run(['sox', inp, '-r', str(out_rate), '-b', '16', '-c', '2', out, 'rate', '-v'], check=True)
    elif method in ('sinc', 'hermite'):
        subprocess.run([TOOL, method, inp, str(out_rate), out], check=True)
    else:
        subprocess.run([EXTRA, method, inp, str(out_rate), out], check=True)
    return read(out)

def amp_at(y, rate, f):
    n = len(y); a, b = n // 4, 3 * n // 4
    t = np.arange(a, b) / rate
    M = np.stack([np.sin(2 * np.pi * f * t), np.cos(2 * np.pi * f * t)], 1)
    c, *_ = np.linalg.lstsq(M, y[a:b], rcond=None)
    return np.hypot(*c)

cases = [(11025, 44100), (22050, 44100), (11025, 48000), (22050, 48000)]
fracs = [0.05, 0.1, 0.2, 0.3, 0.4, 0.45]
print('## Frequency response, dB (sine 0.5 FS, 16-bit mono source), columns = fraction of source rate')
for fin, fout in cases:
    print(f'\n{fin} -> {fout}: ' + ' '.join(f'{fr*fin:>7.0f}Hz' for fr in fracs))
    rows = {}
    for fr in fracs:
        f = fr * fin
        x = 0.5 * np.sin(2 * np.pi * f * np.arange(fin) / fin)
        p = f'{T}/sine-{fin}-{fr}.wav'; write(p, fin, x)
        for m in METHODS:
            y = convert(m, p, fout, f'sine-{fin}-{fout}-{fr}')
            rows.setdefault(m, []).append(20 * np.log10(amp_at(y, fout, f) / 0.5))
    for m in METHODS:
        print(f'  {m:12}' + ' '.join(f'{v:9.2f}' for v in rows[m]))

print('\n## Imaging: energy above the source Nyquist, dB relative to the tone (Hann window, middle 0.5 s)')
for fin, fout, f in [(11025, 44100, 5000), (22050, 44100, 9000), (22050, 48000, 9000), (11025, 44100, 2000)]:
    x = 0.5 * np.sin(2 * np.pi * f * np.arange(fin) / fin)
    p = f'{T}/img-{fin}-{f}.wav'; write(p, fin, x)
    line = f'  {f} Hz @ {fin} -> {fout}: '
    for m in METHODS:
        y = convert(m, p, fout, f'img-{fin}-{fout}-{f}')
        n = len(y); seg = y[n // 4: 3 * n // 4] * np.hanning(n // 2)
        S = np.abs(np.fft.rfft(seg)) ** 2; fr = np.fft.rfftfreq(len(seg), 1 / fout)
        tone = S[(fr > f - 50) & (fr < f + 50)].sum(); above = S[fr > fin / 2 + 50].sum()
        line += f'{m} {10*np.log10(above/tone + 1e-30):6.1f}  '
    print(line)

print('\n## Bright 8-bit cymbal-like burst (differenced white noise, 150 ms decay, 0.6 FS), RMS vs sox')
rng = np.random.default_rng(5)
for fin in (11025, 22050):
    for fout in (44100, 48000):
        w = rng.standard_normal(fin)
        hp = np.diff(w, prepend=0)
        x = hp * np.exp(-np.arange(fin) / (0.15 * fin)); x = 0.6 * x / np.abs(x).max()  # under the mixer's limiter knee
        x = np.concatenate([np.zeros(fin // 10), x, np.zeros(fin // 10)])
        p = f'{T}/cym-{fin}.wav'; write(p, fin, x, bits=8)
        res = {m: convert(m, p, fout, f'cym-{fin}-{fout}') for m in METHODS}
        ref = np.sqrt((res['sox'] ** 2).mean())
        print(f'  {fin} -> {fout}: ' + '  '.join(f'{m} {np.sqrt((res[m]**2).mean())/ref:.3f}' for m in METHODS))
        # and the error against sox after alignment, for the record
        if fin == 11025 and fout == 44100:
            hi = {}
            for m in METHODS:
                y = res[m]; S = np.abs(np.fft.rfft(y)) ** 2; fr = np.fft.rfftfreq(len(y), 1 / fout)
                hi[m] = (S[(fr > 3000) & (fr < fin / 2)].sum(), S[fr > fin / 2].sum())
            print('    energy 3k..Nyquist vs sox, dB: ' + '  '.join(f'{m} {10*np.log10(hi[m][0]/hi["sox"][0]):+.2f}' for m in METHODS))
            print('    energy above source Nyquist, dB vs in-band: ' + '  '.join(f'{m} {10*np.log10(hi[m][1]/hi[m][0]+1e-30):.1f}' for m in METHODS))

print('\n## Delay: impulse at input frame 1000, output peak position minus the ideal, in output frames')
for fin, fout in [(11025, 44100), (22050, 48000)]:
    x = np.zeros(fin // 2); x[1000] = 0.9
    p = f'{T}/imp-{fin}.wav'; write(p, fin, x)
    line = f'  {fin} -> {fout}: '
    for m in METHODS:
        y = convert(m, p, fout, f'imp-{fin}-{fout}')
        ideal = 1000 * fout / fin
        line += f'{m} {np.argmax(np.abs(y)) - ideal:+.1f} (len {len(y)} vs {len(x)*fout/fin:.0f})  '
    print(line)
