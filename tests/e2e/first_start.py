#!/usr/bin/env python3
"""First start in an empty home: the window comes up at once, the demo song
plays and the title names it."""

import time

from e2e import check, run_scenario

DEMO_TITLE = "Morning Walk (Vantu MIDI demo)"


def scenario(desktop):
    started = time.monotonic()
    desktop.launch()
    appeared = time.monotonic() - started
    print(f"  the main window appeared after {appeared:.2f} s")
    # Sanitizers slow the start several times over; the goal is the user's.
    limit = 5.0 if desktop.sanitized else 1.0
    check(appeared <= limit, f"the main window took {appeared:.2f} s (limit {limit:g} s)")

    desktop.wait_title(lambda title: title.startswith(DEMO_TITLE + " - "),
                       "to name the demo song")
    desktop.wait_sound("the demo song plays")
    desktop.wait_media("Playing", "status")
    desktop.wait_media(DEMO_TITLE, "metadata", "title")
    desktop.shot("demo-playing", desktop.main_window)
    desktop.quit()


if __name__ == "__main__":
    raise SystemExit(run_scenario(scenario))
