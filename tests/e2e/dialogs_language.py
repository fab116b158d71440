#!/usr/bin/env python3
"""The language switched at run time, and every dialog opened and closed with
the keyboard and with the mouse.

Japanese is picked with the keyboard (Alt+L, Space, arrows, Enter) and kept
with Alt+O; it is back after a restart; English is picked again with the
mouse. The preferences, about and drive-letter windows each close with
Escape or Enter, an Alt accelerator and a click on their buttons. The window
titles show the language in force: the folder's row in the main window's
title and the preferences window's own title."""

from e2e import check, make_songs, run_scenario, wait_until

FILE_MENU = (26, 7)
# Menus left of File (round to the end of the bar), reached with the Left
# key from it: Right would open a submenu of MIDI Out instead.
TOOLS, HELP = 2, 1
FOLDER = {"en": "[Folder]", "ja": "［フォルダ］"}
PREFERENCES = {"en": "^Preferences$", "ja": "^環境設定$"}
ABOUT = "^About Vantu MIDI$|^Vantu MIDI について$"
DRIVE_LETTERS = "^Drive Letter Settings$|^ドライブレター変換の設定$"
# The dialogs' buttons from their inside's bottom right corner: OK, and
# Cancel left of it.
OK_FROM_CORNER, CANCEL_FROM_CORNER = (51, 24), (151, 24)
# The language field of the preferences window from its bottom left corner,
# and its pop-up's first row (English) below the point clicked.
LANGUAGE_FIELD_FROM_CORNER, POPUP_FIRST_ROW = (120, 65), 23


def menu_item(desktop, menu, ups):
    """Opens the menu `menu` places left of File with the mouse and the
    arrow keys, and chooses its item `ups` places up from the bottom."""
    desktop.activate(desktop.main_window)
    before = len(mapped_windows(desktop))
    desktop.click(desktop.main_window, *FILE_MENU)
    # Keys typed before the menu is up would go to the window.
    wait_until(lambda: len(mapped_windows(desktop)) > before, "the File menu")
    desktop.key(*["Left"] * menu, *["Up"] * ups, "Return")


def mapped_windows(desktop):
    """Every window on screen, menus included (they have no name)."""
    result = desktop.run(["xdotool", "search", "--onlyvisible", "--class", ""],
                         check=False)
    return result.stdout.split()


def from_corner(desktop, window, offset, left=False):
    _, _, width, height = desktop.frame(window)
    return (offset[0] if left else width - offset[0]), height - offset[1]


def in_language(desktop, language):
    desktop.wait_title(lambda title: FOLDER[language] in title,
                       f"to show the folder in {language}")


def open_preferences(desktop, language):
    menu_item(desktop, TOOLS, 2)
    window = desktop.wait_window(PREFERENCES[language])
    desktop.activate(window)
    return window


def close(desktop, window, pattern, how):
    """Closes the dialog with keys (a list) or a click at a corner offset."""
    desktop.activate(window)
    if isinstance(how, list):
        desktop.key(*how)
    else:
        desktop.click(window, *from_corner(desktop, window, how))
    desktop.wait_no_window(pattern)


def scenario(desktop):
    songs = desktop.root / "music" / "songs"
    make_songs(songs, "--seconds", 30)
    desktop.launch(songs)
    in_language(desktop, "en")

    window = open_preferences(desktop, "en")
    desktop.shot("preferences-en", window)
    desktop.key("alt+l", "space")
    desktop.key("Down", "Down", "Return")
    # The language is in force while the window is open: its own title and
    # the main window's change at once.
    window = desktop.wait_window(PREFERENCES["ja"])
    in_language(desktop, "ja")
    desktop.shot("preferences-ja", window)
    close(desktop, window, PREFERENCES["ja"], ["alt+o"])
    check((desktop.settings / "VantuMIDI_Prefs.arc").exists(), "OK saved no preferences")

    # Escape and Cancel put back the kept preferences: still Japanese.
    window = open_preferences(desktop, "ja")
    close(desktop, window, PREFERENCES["ja"], ["Escape"])
    window = open_preferences(desktop, "ja")
    close(desktop, window, PREFERENCES["ja"], CANCEL_FROM_CORNER)
    in_language(desktop, "ja")

    desktop.quit()
    desktop.launch()
    in_language(desktop, "ja")
    desktop.shot("restarted-ja", desktop.main_window)

    window = open_preferences(desktop, "ja")
    desktop.click(window, *from_corner(desktop, window, LANGUAGE_FIELD_FROM_CORNER, left=True))
    desktop.shot("language-menu")
    desktop.xdotool("mousemove_relative", 0, POPUP_FIRST_ROW, "click", 1)
    window = desktop.wait_window(PREFERENCES["en"])
    in_language(desktop, "en")
    close(desktop, window, PREFERENCES["en"], OK_FROM_CORNER)

    menu_item(desktop, HELP, 1)
    window = desktop.wait_window(ABOUT)
    desktop.activate(window)
    for tab_x in (92, 165):
        desktop.click(window, tab_x, 16)
        desktop.shot(f"about-tab-{tab_x}", window)
    close(desktop, window, ABOUT, ["Return"])
    menu_item(desktop, HELP, 1)
    window = desktop.wait_window(ABOUT)
    _, _, width, _ = desktop.frame(window)
    close(desktop, window, ABOUT, (width // 2, 24))

    for how in (["Escape"], ["alt+c"], ["alt+o"], CANCEL_FROM_CORNER, OK_FROM_CORNER):
        menu_item(desktop, TOOLS, 1)
        window = desktop.wait_window(DRIVE_LETTERS)
        close(desktop, window, DRIVE_LETTERS, how)
    desktop.shot("dialogs-closed")
    check(not desktop.windows(ABOUT) and not desktop.windows(DRIVE_LETTERS)
          and not desktop.windows(PREFERENCES["en"]), "a dialog is still open")
    desktop.quit()


if __name__ == "__main__":
    raise SystemExit(run_scenario(scenario))
