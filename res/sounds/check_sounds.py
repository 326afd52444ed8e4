#!/usr/bin/python3
"""Checks Marivane's sound cues and prints their levels.

Usage:  ./check_sounds.py [SOUND_DIR]      (default: the directory of this script)

For every cue it checks the canonical 44-byte RIFF/PCM mono header against the
expected rate, bit depth and data length, that the resource script names the
file under the expected resource id, that no sample reaches the format's
extremes, that the peak is close to -3 dBFS, that the first and last
milliseconds are near silence, and that the 8 kHz cue keeps its energy well
below 4 kHz.  Prints peak and RMS levels; exits 1 on any failure.
"""

import os
import re
import struct
import sys

import numpy as np

# file name -> (resource id, rate, bits, data bytes)
EXPECTED = {
    "click.wav": (4450, 22050, 16, 1362),
    "minimise.wav": (4500, 8000, 8, 2240),
    "hit.wav": (4600, 22050, 8, 13450),
    "miss.wav": (4650, 22050, 8, 14994),
    "new_puzzle.wav": (4700, 22050, 16, 90846),
    "console.wav": (5600, 22050, 8, 6174),
    "win.wav": (5650, 22050, 16, 91728),
    "loss.wav": (5700, 22050, 16, 145972),
}


def read_wav(path):
    """Parses a canonical WAVE file; returns (header fields, raw data) or raises
    ValueError naming the first field that is wrong."""
    with open(path, "rb") as fh:
        raw = fh.read()
    if len(raw) < 44:
        raise ValueError("shorter than a 44-byte header")
    (riff, riff_size, wave, fmt, fmt_size, audio_format, channels, rate, byte_rate,
     block_align, bits, data_id, data_size) = struct.unpack("<4sI4s4sIHHIIHH4sI", raw[:44])
    checks = (
        (riff == b"RIFF", "RIFF tag"),
        (riff_size == len(raw) - 8, "RIFF size %d for a file of %d bytes" % (riff_size, len(raw))),
        (wave == b"WAVE", "WAVE tag"),
        (fmt == b"fmt ", "fmt chunk tag"),
        (fmt_size == 16, "fmt chunk size %d" % fmt_size),
        (audio_format == 1, "format %d is not PCM" % audio_format),
        (channels == 1, "%d channels" % channels),
        (bits in (8, 16), "%d bits" % bits),
        (block_align == bits // 8, "block align %d" % block_align),
        (byte_rate == rate * block_align, "byte rate %d" % byte_rate),
        (data_id == b"data", "data chunk tag"),
        (data_size == len(raw) - 44, "data size %d, %d bytes follow" % (data_size, len(raw) - 44)),
    )
    for ok, what in checks:
        if not ok:
            raise ValueError(what)
    return {"rate": rate, "bits": bits, "data_size": data_size}, raw[44:]


def samples(data, bits):
    """Samples as floats, full scale = 1.0, plus a flag for any extreme value."""
    if bits == 8:
        v = np.frombuffer(data, dtype=np.uint8).astype(np.int32)
        return (v - 128) / 128.0, bool(np.any((v == 0) | (v == 255)))
    v = np.frombuffer(data, dtype="<i2").astype(np.int32)
    return v / 32768.0, bool(np.any((v == -32768) | (v == 32767)))


def rc_sound_ids(rc_path, header_path):
    """Maps each WAVE file named in the resource script to its numeric id."""
    with open(header_path, encoding="utf-8") as fh:
        defines = dict(re.findall(r"^#define\s+(\w+)\s+(\d+)", fh.read(), re.M))
    ids = {}
    with open(rc_path, encoding="utf-8") as fh:
        for sym, path in re.findall(r"^(\w+)\s+WAVE\s+\"([^\"]+)\"", fh.read(), re.M):
            ids[os.path.basename(path)] = int(defines.get(sym, sym))
    return ids


def db(x):
    return 20.0 * np.log10(max(x, 1e-9))


def high_band_share(x, rate, above):
    """Fraction of the signal's energy above `above` Hz."""
    power = np.abs(np.fft.rfft(x)) ** 2
    freqs = np.fft.rfftfreq(len(x), 1.0 / rate)
    return float(power[freqs > above].sum() / power.sum())


def check_file(path, rid, rate, bits, data_bytes, rc_ids):
    """Returns (list of failures, peak dBFS, RMS dBFS, seconds)."""
    name = os.path.basename(path)
    problems = []
    if rc_ids.get(name) != rid:
        problems.append("resource script gives id %s, expected %d" % (rc_ids.get(name), rid))
    try:
        hdr, data = read_wav(path)
    except (OSError, ValueError) as err:
        return problems + ["unreadable: %s" % err], None, None, None
    if hdr["rate"] != rate:
        problems.append("rate %d, expected %d" % (hdr["rate"], rate))
    if hdr["bits"] != bits:
        problems.append("%d bits, expected %d" % (hdr["bits"], bits))
        return problems, None, None, None
    if hdr["data_size"] != data_bytes:
        problems.append("%d data bytes, expected %d" % (hdr["data_size"], data_bytes))
    x, extreme = samples(data, bits)
    if extreme:
        problems.append("clipped: a sample sits at the format's extreme")
    peak = float(np.max(np.abs(x)))
    rms = float(np.sqrt(np.mean(x ** 2)))
    if not -4.0 <= db(peak) <= -2.0:
        problems.append("peak %.2f dBFS, expected about -3" % db(peak))
    edge = max(4, rate // 1000)                      # one millisecond
    lsb = 1.5 / (128.0 if bits == 8 else 32768.0)
    if abs(x[0]) > lsb or abs(x[-1]) > lsb:
        problems.append("does not start and end on silence")
    if db(np.max(np.abs(x[-edge:]))) > -30.0:
        problems.append("last millisecond is louder than -30 dBFS")
    if rate == 8000 and high_band_share(x, rate, 3600.0) > 0.001:
        problems.append("energy near 4 kHz (aliasing risk)")
    return problems, db(peak), db(rms), len(x) / rate


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    sound_dir = argv[1] if len(argv) > 1 else here
    res_dir = os.path.dirname(here)
    rc_ids = rc_sound_ids(os.path.join(res_dir, "Marivane.rc"), os.path.join(res_dir, "resource.h"))
    failed = 0
    print("%-15s %6s %4s %7s %7s %9s %9s" % ("file", "rate", "bits", "bytes", "secs", "peak dB", "rms dB"))
    for name, (rid, rate, bits, data_bytes) in EXPECTED.items():
        problems, peak, rms, secs = check_file(os.path.join(sound_dir, name), rid, rate, bits,
                                               data_bytes, rc_ids)
        if peak is not None:
            print("%-15s %6d %4d %7d %7.3f %9.2f %9.2f" % (name, rate, bits, data_bytes, secs, peak, rms))
        for p in problems:
            print("  FAIL %s: %s" % (name, p))
        failed += bool(problems)
    if set(rc_ids) - set(EXPECTED):
        print("  FAIL resource script names unexpected sounds: %s" % sorted(set(rc_ids) - set(EXPECTED)))
        failed += 1
    print("%d passed, %d failed" % (len(EXPECTED) - min(failed, len(EXPECTED)), failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
