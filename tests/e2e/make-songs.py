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

DIVISION = 480
TEMPO_US = 500000          # 120 bpm: one beat every half second

# (file name, title, encoding of the title in the file)
TITLES = [
    ("01-asa.mid", "朝の歌", "shift_jis"),
    ("02-river.mid", "River Song", "utf-8"),
    ("03-yoru.mid", "夜のワルツ", "shift_jis"),
    ("04-kaze.mid", "風と光 ★", "utf-8"),
    ("05-umi.mid", "海辺の散歩", "shift_jis"),
]


def var_len(value):
    data = [value & 0x7F]
    value >>= 7
    while value:
        data.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(data)


def meta(kind, payload):
    return b"\x00\xff" + bytes([kind]) + var_len(len(payload)) + payload


def song(title_bytes, seconds, base_pitch):
    track = meta(0x03, title_bytes)
    track += meta(0x51, TEMPO_US.to_bytes(3, "big"))
    track += b"\x00\xc0\x00"                       # piano
    beats = max(1, int(seconds * 1000000 / TEMPO_US))
    for beat in range(beats):
        pitch = base_pitch + (0, 4, 7, 12)[beat % 4]
        track += b"\x00\x90" + bytes([pitch, 100])
        track += var_len(DIVISION) + b"\x80" + bytes([pitch, 0])
    track += b"\x00\xff\x2f\x00"
    header = b"MThd" + struct.pack(">IHHH", 6, 0, 1, DIVISION)
    return header + b"MTrk" + struct.pack(">I", len(track)) + track


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
        data = song(title.encode(encoding), args.seconds, 60 + index % 12)
        (args.folder / name).write_bytes(data)
        print(title)


if __name__ == "__main__":
    main()
