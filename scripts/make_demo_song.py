#!/usr/bin/env python3
"""Writes the demo song "Morning Walk" as a Standard MIDI File.

An original tune for the program's first start: a flute melody over electric
piano chords, a string pad, a fingered bass and a drum kit on channel 10,
17 bars at 108 bpm (about 38 seconds). Format 1, one track per instrument
after a conductor track that carries the song's name and tempo.

    scripts/make_demo_song.py [OUT.mid]    (default: resources/demo/morning-walk.mid)
"""

import pathlib
import struct
import sys

DIVISION = 480
BEAT = DIVISION
BAR = 4 * BEAT
TEMPO_BPM = 108
INTRO_BARS = 1

NOTE_NUMBERS = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def note(name):
    """'C4' is middle C (60); a '#' or 'b' after the letter shifts it."""
    pitch = NOTE_NUMBERS[name[0]]
    rest = name[1:]
    if rest[0] == "#":
        pitch, rest = pitch + 1, rest[1:]
    elif rest[0] == "b":
        pitch, rest = pitch - 1, rest[1:]
    return 12 * (int(rest) + 1) + pitch


# Melody, bar by bar: (note or None for a rest, length in beats).
MELODY = [
    # A: C | Am | F | G | C | Am | Dm G | C
    [("G4", .5), ("C5", .5), ("E5", 1), ("D5", .5), ("C5", .5), ("E5", 1)],
    [("A4", 1), ("C5", .5), ("E5", .5), ("A5", 1.5), ("G5", .5)],
    [("F5", 1), ("E5", .5), ("D5", .5), ("C5", 1), ("A4", 1)],
    [("B4", 1), ("D5", 1), ("G5", 2)],
    [("G4", .5), ("C5", .5), ("E5", 1), ("G5", .5), ("E5", .5), ("C6", 1)],
    [("B5", .5), ("A5", .5), ("E5", 1), ("C5", 1), ("E5", 1)],
    [("F5", 1), ("A5", 1), ("G5", 1), ("B4", 1)],
    [("C5", 3), (None, 1)],
    # B: F | G | Em | Am | F | G | G7 | C
    [("A5", 1.5), ("G5", .5), ("F5", 1), ("A5", 1)],
    [("G5", 1.5), ("F5", .5), ("D5", 1), ("B4", 1)],
    [("E5", 1), ("G5", 1), ("B5", 1), ("G5", 1)],
    [("A5", 2), ("E5", 1), ("C5", 1)],
    [("F5", .5), ("G5", .5), ("A5", 1), ("C6", 1), ("A5", 1)],
    [("G5", 1), ("D5", 1), ("B4", .5), ("D5", .5), ("G5", 1)],
    [("F5", 1), ("E5", 1), ("D5", 1), ("B4", 1)],
    [("C5", 4)],
]

# Chords, bar by bar: one or two (root, voicing) halves.
CHORDS = {
    "C": ("C2", ["C4", "E4", "G4"]),
    "Am": ("A1", ["A3", "C4", "E4"]),
    "F": ("F1", ["A3", "C4", "F4"]),
    "G": ("G1", ["B3", "D4", "G4"]),
    "G7": ("G1", ["B3", "F4", "G4"]),
    "Dm": ("D2", ["A3", "D4", "F4"]),
    "Em": ("E2", ["B3", "E4", "G4"]),
}
HARMONY = [["C"], ["Am"], ["F"], ["G"], ["C"], ["Am"], ["Dm", "G"], ["C"],
           ["F"], ["G"], ["Em"], ["Am"], ["F"], ["G"], ["G7"], ["C"]]

FLUTE, PIANO, BASS, STRINGS, DRUMS = 0, 1, 2, 3, 9
KICK, SNARE, CLOSED_HAT, OPEN_HAT, CRASH = 36, 38, 42, 46, 49


def var_len(value):
    data = [value & 0x7F]
    value >>= 7
    while value:
        data.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(data)


class Track:
    def __init__(self, name, encoding="ascii"):
        self.events = []  # (tick, order, bytes): note offs sort first
        self.meta(0, 0x03, name.encode(encoding))

    def meta(self, tick, kind, data):
        self.events.append((tick, 1, bytes([0xFF, kind]) + var_len(len(data)) + data))

    def message(self, tick, *data):
        self.events.append((tick, 1, bytes(data)))

    def play(self, channel, pitch, start, length, velocity):
        self.events.append((start, 1, bytes([0x90 | channel, pitch, velocity])))
        self.events.append((start + length, 0, bytes([0x80 | channel, pitch, 64])))

    def chunk(self):
        body = bytearray()
        last = 0
        for tick, _, data in sorted(self.events, key=lambda e: (e[0], e[1])):
            body += var_len(tick - last) + data
            last = tick
        body += var_len(0) + b"\xFF\x2F\x00"
        return b"MTrk" + struct.pack(">I", len(body)) + bytes(body)


def setup(track, channel, program, volume, pan, reverb):
    track.message(0, 0xC0 | channel, program)
    track.message(0, 0xB0 | channel, 7, volume)
    track.message(0, 0xB0 | channel, 10, pan)
    track.message(0, 0xB0 | channel, 91, reverb)


def bar_start(bar):
    return (INTRO_BARS + bar) * BAR


def conductor():
    track = Track("Morning Walk (Vantu MIDI demo)")
    track.meta(0, 0x02, b"Written for Vantu MIDI; free to use (CC0)")
    track.meta(0, 0x58, bytes([4, 2, 24, 8]))
    track.meta(0, 0x51, struct.pack(">I", 60000000 // TEMPO_BPM)[1:])
    return track


def flute():
    track = Track("Flute")
    setup(track, FLUTE, 73, 110, 72, 50)
    for bar, notes in enumerate(MELODY):
        tick = bar_start(bar)
        for name, beats in notes:
            length = int(beats * BEAT)
            if name is not None:
                accent = 96 if tick % BAR == 0 else 84 if tick % BEAT == 0 else 76
                track.play(FLUTE, note(name), tick, int(length * 0.9), accent)
            tick += length
    return track


def piano_and_strings():
    piano = Track("Electric Piano")
    strings = Track("Strings")
    setup(piano, PIANO, 4, 92, 50, 40)
    setup(strings, STRINGS, 48, 70, 80, 70)
    for bar, chords in enumerate(HARMONY):
        half = BAR // len(chords)
        for index, name in enumerate(chords):
            start = bar_start(bar) + index * half
            voicing = [note(n) for n in CHORDS[name][1]]
            # The piano comps on the beat and on the "and" of the next one.
            for offset, length, velocity in ((0, BEAT, 72), (BEAT + BEAT // 2, BEAT // 2, 60)):
                if offset + length <= half:
                    for pitch in voicing:
                        piano.play(PIANO, pitch, start + offset, length - 20, velocity)
            for pitch in voicing:
                strings.play(STRINGS, pitch - 12 if pitch > 64 else pitch, start, half - 10, 46)
    final = bar_start(len(HARMONY))
    for pitch in [note(n) for n in CHORDS["C"][1]]:
        piano.play(PIANO, pitch, final, 2 * BEAT, 70)
        strings.play(STRINGS, pitch, final, 2 * BEAT, 46)
    return piano, strings


def bass():
    track = Track("Bass")
    setup(track, BASS, 33, 105, 64, 20)
    for bar, chords in enumerate(HARMONY):
        half = BAR // len(chords)
        for index, name in enumerate(chords):
            root = note(CHORDS[name][0])
            start = bar_start(bar) + index * half
            if len(chords) == 2:
                pattern = [(0, BEAT, root, 96), (BEAT, BEAT, root + 7, 80)]
            else:
                pattern = [(0, BEAT + BEAT // 2, root, 100),
                           (BEAT + BEAT // 2, BEAT // 2, root + 7, 78),
                           (2 * BEAT, BEAT, root + 12, 88),
                           (3 * BEAT, BEAT, root + 7, 80)]
            for offset, length, pitch, velocity in pattern:
                track.play(BASS, pitch, start + offset, length - 30, velocity)
    track.play(BASS, note("C2"), bar_start(len(HARMONY)), 2 * BEAT, 100)
    return track


def drums():
    track = Track("Drums")
    track.message(0, 0xB0 | DRUMS, 7, 100)
    track.message(0, 0xB0 | DRUMS, 91, 30)
    for bar in range(INTRO_BARS + len(HARMONY)):
        start = bar * BAR
        main = bar >= INTRO_BARS
        for eighth in range(8):
            tick = start + eighth * BEAT // 2
            hat = OPEN_HAT if main and eighth == 7 and bar % 4 == 0 else CLOSED_HAT
            track.play(DRUMS, hat, tick, 60, 70 if eighth % 2 == 0 else 52)
        for beat in (0, 2):
            track.play(DRUMS, KICK, start + beat * BEAT, 60, 100)
        if main:
            track.play(DRUMS, KICK, start + 2 * BEAT + BEAT // 2, 60, 80)
            for beat in (1, 3):
                track.play(DRUMS, SNARE, start + beat * BEAT, 60, 90)
        if bar in (INTRO_BARS, INTRO_BARS + 8):
            track.play(DRUMS, CRASH, start, 240, 96)
    final = bar_start(len(HARMONY))
    track.play(DRUMS, KICK, final, 60, 110)
    track.play(DRUMS, CRASH, final, 480, 100)
    return track


def song():
    piano, strings = piano_and_strings()
    tracks = [conductor(), flute(), piano, strings, bass(), drums()]
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), DIVISION)
    return header + b"".join(track.chunk() for track in tracks)


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / "resources/demo/morning-walk.mid"
    out.parent.mkdir(parents=True, exist_ok=True)
    out.write_bytes(song())


if __name__ == "__main__":
    main()
