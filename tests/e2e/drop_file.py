#!/usr/bin/env python3
"""Files dropped on the window from outside, as from a file manager (the X
drag and drop protocol): on the list and on the player's panel, a song and a
folder; the first song dropped plays."""

from e2e import Failure, check, make_songs, run_scenario, wait_until
from first_start import DEMO_TITLE
from play_controls import row


def scenario(desktop):
    songs = desktop.root / "music" / "songs"
    titles = make_songs(songs, "--seconds", 60)
    names = sorted(path.name for path in songs.iterdir())
    more = desktop.root / "more" / "folder"
    more_titles = make_songs(more, "--count", 8, "--numbered", "--seconds", 60)
    dropper = desktop.build / "bin" / "vantu_xdnd_drop"
    if not dropper.exists():
        raise Failure(f"{dropper} is not built (needs the X11 development files)")
    window = desktop.launch()
    desktop.wait_sound("the demo song plays")
    def row_pixels(index):
        x, y = row(index)
        return desktop.pixels(window, x, y - 6, 40, 13)
    blank_row = row_pixels(2)

    def drop(at, *paths):
        desktop.run([str(dropper), str(window), *map(str, at), *map(str, paths)])

    # On the list below its rows: added at its end, the song playing goes on.
    drop(row(3), songs / names[2])
    wait_until(lambda: row_pixels(2) != blank_row,
               "the dropped song's row")
    check(desktop.title().startswith(DEMO_TITLE), "the drop stopped the demo song")
    desktop.shot("song-dropped", window)
    desktop.click(window, *row(2), repeat=2)
    desktop.wait_title(lambda title: title.startswith(titles[2] + " - "),
                       "to name the dropped song double-clicked")
    desktop.wait_media(titles[2], "metadata", "title")
    desktop.wait_sound("the dropped song plays")

    # On the player's panel: a folder and a song, added after the list's rows;
    # the list shows its end, the folder's songs.
    drop((60, 30), more, songs / names[4])
    wait_until(lambda: row_pixels(5) != blank_row,
               "the dropped folder's rows")
    desktop.shot("folder-dropped", window)
    desktop.click(window, *row(4), repeat=2)
    desktop.wait_title(lambda title: any(title.startswith(name + " - ")
                                         for name in more_titles),
                       "to name a song of the dropped folder double-clicked")
    desktop.wait_sound("the dropped folder's song plays")
    check(desktop.windows("^" + "Vantu MIDI" + "$") == [], "the drop brought up an alert")
    desktop.quit()


if __name__ == "__main__":
    raise SystemExit(run_scenario(scenario))
