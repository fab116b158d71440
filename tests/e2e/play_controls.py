#!/usr/bin/env python3
"""A folder of songs added through File > Add and the file panel, then played
with the control bar and the sliders: what the title, the media session and
the WAV file say agree at each step."""

import wav
from e2e import check, make_songs, run_scenario, wait_until

# Places inside the main window at its default size (pixels from the
# top left of its inside).
FILE_MENU = (26, 7)
ADD_ITEM = (55, 95)
PREVIOUS, PLAY, PAUSE, STOP, NEXT = ((x, 59) for x in (14, 37, 60, 83, 106))
KEY_THUMB = (402, 38)
TEMPO_THUMB = (364, 52)
KEY_LABEL = (265, 32, 55, 12)          # x, y, width, height of "Key:0"
FIRST_ROW_Y, ROW_HEIGHT, ROW_X = 81, 13, 80


def row(index):
    return (ROW_X, FIRST_ROW_Y + ROW_HEIGHT * index)


def add_folder_with_panel(desktop, folder, wait=True):
    """File > Add, the folder's parent typed into the path field, the folder
    (its only entry) chosen with the mouse; `wait` for the panel to close."""
    window = desktop.main_window
    desktop.activate(window)
    desktop.click(window, *FILE_MENU)
    desktop.shot("file-menu")
    desktop.click(window, *ADD_ITEM)
    panel = desktop.wait_window("^Add Files")
    desktop.activate(panel)
    desktop.click(panel, 400, 20)
    desktop.key("ctrl+a")
    desktop.type(str(folder.parent))
    desktop.key("Return")
    desktop.click(panel, 150, 65)
    desktop.shot("add-panel", panel)
    width, height = desktop.size(panel)
    desktop.click(panel, width - 40, height - 20)
    if wait:
        desktop.wait_no_window("^Add Files")


def rate(desktop):
    result = desktop.run(["gdbus", "call", "--session", "--dest",
                          "org.mpris.MediaPlayer2.VantuMIDI", "--object-path",
                          "/org/mpris/MediaPlayer2", "--method",
                          "org.freedesktop.DBus.Properties.Get",
                          "org.mpris.MediaPlayer2.Player", "Rate"], check=False)
    text = result.stdout.strip().strip("(),<>")
    try:
        return float(text)
    except ValueError:
        return None


def scenario(desktop):
    songs_folder = desktop.root / "music" / "songs"
    titles = make_songs(songs_folder, "--seconds", 60)
    window = desktop.launch()
    desktop.wait_sound("the demo song plays")

    add_folder_with_panel(desktop, songs_folder)
    # The list: the demo's list, the demo song, the folder, its songs.
    wait_until(lambda: desktop.pixels(window, 0, row(6)[1] - 5, 200, 10).count(b"\xff\xff\xff")
               < 2000, "the folder's songs in the list")
    desktop.shot("folder-added", window)

    def playing(title):
        desktop.wait_title(lambda shown: shown.startswith(title + " - "), f"to name {title}")
        desktop.wait_media(title, "metadata", "title")
        desktop.wait_media("Playing", "status")
        desktop.wait_sound(f"{title} plays")

    desktop.click(window, *row(4), repeat=2)          # the second song
    playing(titles[1])
    desktop.shot("double-clicked", window)

    desktop.click(window, *NEXT)
    playing(titles[2])
    desktop.click(window, *PREVIOUS)
    playing(titles[1])

    desktop.click(window, *PAUSE)
    desktop.wait_media("Paused", "status")
    desktop.wait_still("paused")
    check(desktop.title().startswith(titles[1] + " - "), "the paused song left the title")
    desktop.shot("paused", window)
    desktop.click(window, *PLAY)
    playing(titles[1])

    label_before = desktop.pixels(window, *KEY_LABEL)
    desktop.drag(window, KEY_THUMB, (KEY_THUMB[0] + 40, KEY_THUMB[1]))
    wait_until(lambda: desktop.pixels(window, *KEY_LABEL) != label_before,
               "the key slider's label to change")
    desktop.wait_sound("transposed")
    desktop.drag(window, TEMPO_THUMB, (TEMPO_THUMB[0] + 40, TEMPO_THUMB[1]))
    faster = wait_until(lambda: (rate(desktop) or 0) > 1.05 and rate(desktop),
                        "a faster rate on the media session")
    print(f"  the tempo slider's drag set the rate to {faster:.2f}")
    desktop.wait_sound("faster")
    desktop.shot("key-and-tempo", window)

    desktop.click(window, *STOP)
    desktop.wait_media("Stopped", "status")
    desktop.wait_still("stopped")
    stopped_at = desktop.wav_frames()
    desktop.shot("stopped", window)
    desktop.quit()
    # Nothing played after Stop: past the release of the last notes (at most
    # two seconds), the rest up to the quit is silence.
    check(not wav.sounds(desktop.wav_file, stopped_at + 2 * 44100),
          "the WAV file sounds after Stop")

if __name__ == "__main__":
    raise SystemExit(run_scenario(scenario))
