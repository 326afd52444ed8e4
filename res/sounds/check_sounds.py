#!/usr/bin/python3
"""Checks that each sound Marivane.rc names is what make_sounds.py writes today, a mono PCM WAVE file written by
Python's wave module, which PlaySoundA plays; prints each failure, exits 1 on any."""

import filecmp, os, re, subprocess, sys, tempfile

HERE = os.path.dirname(os.path.abspath(__file__))

if __name__ == '__main__':
    with open(os.path.join(os.path.dirname(HERE), 'Marivane.rc'), encoding='utf-8') as rc:
        names = re.findall(r'^\w+\s+WAVE\s+"sounds/([^"]+)"', rc.read(), re.M)
    with tempfile.TemporaryDirectory() as fresh:
        subprocess.run([sys.executable, '-B', os.path.join(HERE, 'make_sounds.py'), fresh], check=True,
                       stdout=subprocess.DEVNULL)
        _, stale, missing = filecmp.cmpfiles(HERE, fresh, names, shallow=False)
    for name in stale + missing:
        print('FAIL: %s is not what make_sounds.py writes' % name)
    sys.exit(1 if stale + missing else 0)
