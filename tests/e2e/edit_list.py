#!/usr/bin/env python3
"""The list edited with the mouse (sort, drag a row, remove a row), saved
under a new name, a play mode chosen, the window moved and resized; after a
quit and a restart the list, the current song, the play mode and the window's
frame are back."""

from e2e import check, make_songs, run_scenario, wait_until
from play_controls import row

PLAY_MENU = (75, 7)
# Items of the Play menu, below its title.
SEQUENTIAL_ITEM, SINGLE_REPEAT_ITEM = (130, 51), (130, 117)
CHECK_COLUMN = 58                       # x of the menu's check marks
# Items of the list's pop-up menu, from where it was opened.
REMOVE, SORT_DESCENDING = (60, 10), (60, 56)
SAVE_NAME_FIELD = (270, 322)


def popup(desktop, at, item):
    window = desktop.main_window
    desktop.click(window, *at, button=3)
    desktop.shot("popup")
    desktop.click(window, at[0] + item[0], at[1] + item[1])


def marked(desktop, item):
    """Whether the Play menu shows a check mark in front of `item`."""
    x, y, _, _ = desktop.frame(desktop.main_window)
    pixels = desktop.pixels("root", x + CHECK_COLUMN, y + item[1] - 6, 14, 12)
    return any(pixels[i] < 96 for i in range(0, len(pixels), 3))


def open_play_menu(desktop):
    desktop.activate(desktop.main_window)
    desktop.click(desktop.main_window, *PLAY_MENU)
    wait_until(lambda: marked(desktop, SEQUENTIAL_ITEM) or marked(desktop, SINGLE_REPEAT_ITEM),
               "the Play menu with a mode checked")


def song_lines(path):
    return [line.rsplit("/", 1)[-1] for line in path.read_text().splitlines()
            if line.endswith(".mid")]


def scenario(desktop):
    songs = desktop.root / "music" / "songs"
    titles = make_songs(songs, "--seconds", 60)
    names = sorted(path.name for path in songs.iterdir())
    lists = desktop.root / "lists"
    lists.mkdir()
    window = desktop.launch(*(songs / name for name in names))
    desktop.wait_title(lambda title: title.startswith(titles[0] + " - "),
                       "to name the first song added")
    desktop.shot("started", window)

    # Rows: the list, then its songs 01..05.
    popup(desktop, row(3), SORT_DESCENDING)             # 05 04 03 02 01
    # A row dropped on a row lands below it.
    desktop.drag(window, row(5), row(1))                # 05 01 04 03 02
    desktop.click(window, *row(4))
    popup(desktop, row(4), REMOVE)                      # 05 01 04 02
    desktop.shot("edited", window)

    desktop.activate(window)
    desktop.key("ctrl+2")
    panel = desktop.wait_window(" As$")
    desktop.activate(panel)
    desktop.click(panel, 400, 20)
    desktop.key("ctrl+a")
    desktop.type(str(lists))
    desktop.key("Return")
    desktop.click(panel, *SAVE_NAME_FIELD)
    desktop.type("mine.lml")
    desktop.shot("save-panel", panel)
    desktop.key("Return")
    desktop.wait_no_window(" As$")
    saved = lists / "mine.lml"
    wait_until(saved.exists, f"{saved}")
    expected = [names[4], names[0], names[3], names[1]]
    check(song_lines(saved) == expected,
          f"the saved list holds {song_lines(saved)}, not {expected}")
    desktop.wait_title(lambda title: "mine" in title, "to name the saved list")

    open_play_menu(desktop)
    desktop.click(window, *SINGLE_REPEAT_ITEM)
    desktop.click(window, *row(3), repeat=2)            # 04-kaze
    desktop.wait_title(lambda title: title.startswith(titles[3] + " - "),
                       "to name the song double-clicked")
    # Moved and resized as through the window manager; the window keeps to
    # its own limits, so its frame is read back.
    before = desktop.frame(window)
    desktop.xdotool("windowsize", window, 620, 420)
    desktop.xdotool("windowmove", window, 200, 150)
    frame = wait_until(lambda: desktop.frame(window)[0] != before[0]
                       and desktop.frame(window)[2:] != before[2:] and desktop.frame(window),
                       "the window's new frame")
    print(f"  the window's frame: {before} -> {frame}")
    desktop.shot("before-quit")
    desktop.quit()

    window = desktop.launch()
    desktop.wait_title(lambda title: title.startswith(titles[3] + " - ") and "mine" in title,
                       "to name the song and list of the last run")
    wait_until(lambda: desktop.frame(window) == frame,
               f"the window's frame {frame} back (it is {desktop.frame(window)})")
    desktop.shot("restarted", window)
    open_play_menu(desktop)
    desktop.shot("play-mode")
    check(marked(desktop, SINGLE_REPEAT_ITEM) and not marked(desktop, SEQUENTIAL_ITEM),
          "the Play menu does not show Single Repeat checked after the restart")
    desktop.key("Escape")
    desktop.quit()
    check(song_lines(saved) == expected, "the saved list changed at the restart")


if __name__ == "__main__":
    raise SystemExit(run_scenario(scenario))
