#!/usr/bin/env python3
"""Writes a folder of short Standard MIDI Files for the end-to-end runs.

Each song is format 0: its name as a track name (half of them in Shift-JIS,
as Japanese songs of the old days carry it, half in UTF-8), then a steady
piano melody of `--seconds` seconds, so that the soft synth sounds all
through it. The songs' names are printed one a line (UTF-8), in file order.

    make-songs.py OUT-FOLDER [--count N] [--seconds S] [--numbered]

--numbered names every song by its number ("曲 12"), for a folder of many
songs beside one with the named ones.
"""

import argparse
import pathlib
import struct
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "scripts"))
from make_demo_song import DIVISION, Track  # noqa: E402  (the demo song's writer)

TEMPO_US = 500000          # 120 bpm: one beat every half second
PIANO = 0

# (file name, title, encoding of the title in the file)
TITLES = [
    ("01-asa.mid", "朝の歌", "shift_jis"),
    ("02-river.mid", "River Song", "utf-8"),
    ("03-yoru.mid", "夜のワルツ", "shift_jis"),
    ("04-kaze.mid", "風と光 ★", "utf-8"),
    ("05-umi.mid", "海辺の散歩", "shift_jis"),
]


def song(title, encoding, seconds, base_pitch):
    track = Track(title, encoding)
    track.meta(0, 0x51, TEMPO_US.to_bytes(3, "big"))
    track.message(0, 0xC0 | PIANO, 0)
    beats = max(1, int(seconds * 1000000 / TEMPO_US))
    for beat in range(beats):
        pitch = base_pitch + (0, 4, 7, 12)[beat % 4]
        track.play(PIANO, pitch, beat * DIVISION, DIVISION, 100)
    header = b"MThd" + struct.pack(">IHHH", 6, 0, 1, DIVISION)
    return header + track.chunk()


def song_names(count, numbered):
    """The first `count` songs: the fixed titles, then numbered ones."""
    for index in range(count):
        if index < len(TITLES) and not numbered:
            yield TITLES[index]
        else:
            encoding = "shift_jis" if index % 2 else "utf-8"
            yield (f"{index + 1:05d}-song.mid", f"曲 {index + 1}", encoding)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder", type=pathlib.Path)
    parser.add_argument("--count", type=int, default=len(TITLES))
    parser.add_argument("--seconds", type=float, default=20)
    parser.add_argument("--numbered", action="store_true")
    args = parser.parse_args()
    args.folder.mkdir(parents=True, exist_ok=True)
    for index, (name, title, encoding) in enumerate(song_names(args.count, args.numbered)):
        data = song(title, encoding, args.seconds, 60 + index % 12)
        (args.folder / name).write_bytes(data)
        print(title)


if __name__ == "__main__":
    main()
