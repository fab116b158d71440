"""Reads the soft synth's WAV file while the program still writes it.

The header's sizes are written only when the file is closed, so the length
comes from the file's size: 16-bit stereo at the rate of the header. The file
grows only when the synth gets a message (it renders up to each message's
time), so a file that stops growing means nothing is being played.
"""

import array
import os
import struct
import sys

HEADER_SIZE = 44
FRAME_SIZE = 4                  # 16-bit stereo
# Peak sample of a stretch the ear takes for silence (of 32767).
SILENCE = 64


def _rate(path):
    with open(path, "rb") as f:
        header = f.read(HEADER_SIZE)
    if len(header) < HEADER_SIZE or header[:4] != b"RIFF" or header[8:12] != b"WAVE":
        raise ValueError(f"{path} is not a WAV file")
    channels, rate = struct.unpack("<HI", header[22:28])
    bits = struct.unpack("<H", header[34:36])[0]
    if channels != 2 or bits != 16:
        raise ValueError(f"{path}: expected 16-bit stereo, got {channels} x {bits} bits")
    return rate


def frames(path):
    """Whole frames written so far; 0 while the file does not exist."""
    try:
        size = os.path.getsize(path)
    except FileNotFoundError:
        return 0
    return max(0, size - HEADER_SIZE) // FRAME_SIZE


def seconds(path):
    count = frames(path)
    return count / _rate(path) if count else 0.0


def peak(path, first=0, last=None):
    """The loudest sample of frames [first, last) (last None: the end)."""
    end = frames(path) if last is None else min(last, frames(path))
    if end <= first:
        return 0
    with open(path, "rb") as f:
        f.seek(HEADER_SIZE + first * FRAME_SIZE)
        data = f.read((end - first) * FRAME_SIZE)
    samples = array.array("h")
    samples.frombytes(data[:len(data) // 2 * 2])
    if samples.itemsize != 2:
        raise RuntimeError("array 'h' is not 16 bits here")
    if sys.byteorder != "little":
        samples.byteswap()
    return max((abs(s) for s in samples), default=0)


def sounds(path, first=0, last=None):
    return peak(path, first, last) > SILENCE


if __name__ == "__main__":
    # wav.py FILE: prints its length in seconds and its peak.
    for name in sys.argv[1:]:
        print(f"{name}: {seconds(name):.2f} s, peak {peak(name)}")
