#!/usr/bin/env python3
"""Clicks are told apart by when the user made them: a quick double click
plays a song, two slow clicks do not, also while the program is busy adding
a folder of many songs, and the program answers again afterwards."""

import time

from e2e import check, make_songs, run_scenario, wait_until
from play_controls import STOP, add_folder_with_panel, row

BIG_FOLDER_SONGS = 40000
SLOW_GAP = 0.7                          # over any double-click interval (0.5 s)


def slow_clicks(desktop, at):
    desktop.click(desktop.main_window, *at)
    time.sleep(SLOW_GAP)
    desktop.click(desktop.main_window, *at)


def answers(desktop):
    """Waits until the program's event loop answers again (the media session
    is served by it); returns how long that took."""
    started = time.monotonic()
    wait_until(lambda: desktop.media("status") in ("Playing", "Paused", "Stopped"),
               "the program to answer the media session", timeout=120)
    return time.monotonic() - started


def scenario(desktop):
    songs = desktop.root / "music" / "songs"
    titles = make_songs(songs, "--seconds", 60)
    big = desktop.root / "many" / "big"
    make_songs(big, "--count", BIG_FOLDER_SONGS, "--seconds", 2, "--numbered")
    window = desktop.launch(*sorted(songs.iterdir()))
    desktop.wait_title(lambda title: title.startswith(titles[0] + " - "),
                       "to name the first song")
    desktop.wait_sound("the first song plays")

    def playing(index):
        return desktop.title().startswith(titles[index] + " - ")

    desktop.click(window, *row(2), repeat=2)
    wait_until(lambda: playing(1), "the double-clicked song to play")
    slow_clicks(desktop, row(3))
    time.sleep(1)
    check(playing(1), f"two slow clicks played a song: the title is {desktop.title()!r}")
    desktop.shot("idle-clicks", window)

    # Clicked while the folder is being added: the clicks wait in the queue
    # and must still count by when they were made.
    # Clicked at once, while the panel's Add is being carried out.
    add_folder_with_panel(desktop, big, wait=False)
    slow_clicks(desktop, row(3))
    busy = answers(desktop) + SLOW_GAP
    desktop.shot("added-after-slow-clicks", window)
    print(f"  adding {BIG_FOLDER_SONGS} songs: the program answered again {busy:.1f} s "
          "after the first click")
    time.sleep(1)
    check(playing(1), f"two slow clicks made while busy played a song: {desktop.title()!r}")

    # The same folder once more: a list may hold a folder twice.
    add_folder_with_panel(desktop, big, wait=False)
    desktop.click(window, *row(3), repeat=2)
    answers(desktop)
    wait_until(lambda: not playing(1) and " - " in desktop.title(),
               "a quick double click made while busy to play the song under it")
    print(f"  the double click made while busy played {desktop.title()!r}")
    desktop.shot("added-after-double-click", window)

    desktop.click(window, *STOP)
    desktop.wait_media("Stopped", "status")
    desktop.quit()

if __name__ == "__main__":
    raise SystemExit(run_scenario(scenario, timeout=360))
