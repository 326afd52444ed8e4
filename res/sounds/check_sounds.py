#!/usr/bin/python3
"""Checks that each sound Marivane.rc names is a canonical mono PCM WAVE file, which PlaySoundA
plays, and what make_sounds.py writes today; prints each failure, exits 1 on any."""

import filecmp, os, re, struct, subprocess, sys, tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def wave_fault(path):
    """What keeps the file from being a canonical mono PCM WAVE file, or None."""
    with open(path, 'rb') as f:
        raw = f.read()
    riff, size, wave, fmt, fmt_size, pcm, channels, rate, byte_rate, align, bits, data, data_size = \
        struct.unpack_from('<4sI4s4sIHHIIHH4sI', raw.ljust(44, b'\0'))
    faults = [(riff + wave + fmt + data == b'RIFFWAVEfmt data', 'wrong chunk tags'),
              (size == len(raw) - 8 and fmt_size == 16 and data_size == len(raw) - 44, 'wrong chunk sizes'),
              ((pcm, channels) == (1, 1) and bits in (8, 16), 'not mono PCM of 8 or 16 bits'),
              (align == bits // 8 and byte_rate == rate * align, 'wrong block align or byte rate')]
    return next((what for ok, what in faults if not ok), None)


if __name__ == '__main__':
    with open(os.path.join(os.path.dirname(HERE), 'Marivane.rc'), encoding='utf-8') as rc:
        names = re.findall(r'^\w+\s+WAVE\s+"sounds/([^"]+)"', rc.read(), re.M)
    with tempfile.TemporaryDirectory() as fresh:
        subprocess.run([sys.executable, '-B', os.path.join(HERE, 'make_sounds.py'), fresh], check=True,
                       stdout=subprocess.DEVNULL)
        _, stale, missing = filecmp.cmpfiles(HERE, fresh, names, shallow=False)
    failures = ['%s differs from what make_sounds.py writes' % n for n in stale + missing]
    failures += ['%s: %s' % (n, wave_fault(os.path.join(HERE, n))) for n in set(names) - set(missing)
                 if wave_fault(os.path.join(HERE, n))]
    print(''.join('FAIL: %s\n' % f for f in failures), end='')
    sys.exit(1 if failures else 0)
