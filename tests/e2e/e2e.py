"""Harness of the end-to-end scenarios: the real program on a virtual X server.

A scenario is a function taking a `Desktop`: an Xvfb display of its own (the
server picks a free number), a window manager, a session bus, a temporary
home with its XDG folders, and the program started in it with the soft synth
writing into a WAV file. It drives the program with xdotool as a user would
and checks what a user sees and hears: window titles, the WAV file, files on
disk, the media session (playerctl), pixels only where nothing else shows it.

Every wait is on a condition with a generous timeout (the ASan build on a busy
two-core machine is slow); a watchdog ends a scenario that hangs. Screen shots
of the main moments go to BUILD/e2e-shots/SCENARIO/; a failure adds one of
the moment it failed. Every process started is ended.

    run_scenario(scenario) is the main of each scenario file:
    scenario.py BUILD-DIR   exit 0 passed, 1 failed, 77 skipped (no X server)
"""

import os
import pathlib
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

SKIPPED = 77
HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
import wav  # noqa: E402  (beside this file)

APP_NAME = "Vantu MIDI"
MAIN_TITLE_END = " - " + APP_NAME


class Failure(Exception):
    pass


class Skip(Exception):
    pass


class Watchdog(Exception):
    pass


def wait_until(condition, what, timeout=20.0, interval=0.05):
    """Returns condition()'s first true value; fails naming `what` after `timeout` s."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(interval)


def make_songs(folder, *options):
    """Writes songs with make-songs.py; returns their titles in file order."""
    output = subprocess.run([sys.executable, str(HERE / "make-songs.py"), str(folder),
                             *map(str, options)], check=True, capture_output=True,
                            text=True).stdout
    return output.splitlines()


def check(condition, what):
    if not condition:
        raise Failure(what)


class Desktop:
    def __init__(self, build, name):
        self.build = pathlib.Path(build).resolve()
        self.program = self.build / "bin" / "VantuMIDI"
        cache = self.build / "CMakeCache.txt"
        self.sanitized = cache.exists() and "VANTU_SANITIZE:BOOL=ON" in cache.read_text()
        if not self.program.exists():
            raise Failure(f"{self.program} is not built")
        self.name = name
        self.shots = self.build / "e2e-shots" / name
        shutil.rmtree(self.shots, ignore_errors=True)
        self.shots.mkdir(parents=True)
        self.shot_count = 0
        self.root = pathlib.Path(tempfile.mkdtemp(prefix=f"vantu-e2e-{name}-"))
        self.home = self.root / "home"
        self.runtime = self.root / "runtime"
        self.config = self.home / ".config"
        self.data = self.home / ".local" / "share"
        for folder in (self.home, self.config, self.data):
            folder.mkdir(parents=True, exist_ok=True)
        self.runtime.mkdir(mode=0o700)
        self.settings = self.config / "PELKAN" / "VantuMIDI"
        self.wav_file = self.root / "synth.wav"
        self.processes = []
        self.app = None
        self.display = None
        self.env = None

    # -- processes -------------------------------------------------------

    def _spawn(self, argv, **options):
        process = subprocess.Popen(argv, env=self.env, start_new_session=True,
                                   **options)
        self.processes.append(process)
        return process

    def start(self):
        """The X server, the window manager and the session bus."""
        if shutil.which("Xvfb") is None:
            raise Skip("Xvfb is not installed")
        missing = [tool for tool in ("xdotool", "openbox", "import", "xprop", "xwininfo")
                   if shutil.which(tool) is None]
        check(not missing, f"not installed: {', '.join(missing)} (scripts/setup-deps.sh)")
        read_end, write_end = os.pipe()
        self.env = self._base_env()
        xvfb = self._spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                            "1280x800x24", "-nolisten", "tcp", "-noreset"],
                           pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            number = pipe.readline().strip()
        if not number or xvfb.poll() is not None:
            raise Skip("Xvfb could not start")
        self.display = ":" + number.decode()
        self.env["DISPLAY"] = self.display
        if shutil.which("dbus-daemon"):
            bus = self._spawn(["dbus-daemon", "--session", "--nofork",
                               "--print-address=1"], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL)
            self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
        wm = self._spawn(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
        wait_until(lambda: wm.poll() is not None or self._wm_running(),
                   "the window manager")
        check(wm.poll() is None, "the window manager ended")

    def _base_env(self):
        env = {key: value for key, value in os.environ.items()
               if key not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY",
                              "DBUS_SESSION_BUS_ADDRESS", "XAUTHORITY")}
        env.update(HOME=str(self.home), XDG_CONFIG_HOME=str(self.config),
                   XDG_DATA_HOME=str(self.data), XDG_RUNTIME_DIR=str(self.runtime),
                   XDG_CACHE_HOME=str(self.home / ".cache"),
                   LANG="C.UTF-8", LANGUAGE="", LC_ALL="",
                   VANTU_SOFTSYNTH_WAV=str(self.wav_file))
        suppressions = HERE.parent / "ui" / "lsan.supp"
        env["LSAN_OPTIONS"] = f"suppressions={suppressions}"
        return env

    def _wm_running(self):
        # openbox owns the window manager selection once it manages the screen.
        result = self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)
        return "window id" in result.stdout

    def run(self, argv, check=True, timeout=30):
        result = subprocess.run(argv, env=self.env, capture_output=True, text=True,
                                timeout=timeout)
        if check and result.returncode != 0:
            raise Failure(f"{' '.join(map(str, argv))} failed: {result.stderr.strip()}")
        return result

    def launch(self, *arguments):
        """Starts the program; returns once its main window is on screen."""
        check(self.app is None or self.app.poll() is not None,
              "the program runs already")
        self.log = open(self.root / "program.log", "ab")
        self.app = self._spawn([str(self.program), *map(str, arguments)],
                               stdout=self.log, stderr=subprocess.STDOUT)
        self.main_window = wait_until(self._find_main_window,
                                      "the main window", timeout=30)
        return self.main_window

    def _find_main_window(self):
        check(self.app.poll() is None,
              f"the program ended with status {self.app.returncode}")
        for window in self.windows(MAIN_TITLE_END + "$"):
            return window
        return None

    def quit(self, answer="n"):
        """Quits with Ctrl+Q as a user does, answering a question about lists
        not saved with Alt+`answer`; the program must end by itself."""
        self.activate(self.main_window)
        self.key("ctrl+q")
        question = wait_until(
            lambda: self.app.poll() is not None or self.windows("^" + APP_NAME + "$"),
            "the program to end or ask", timeout=30)
        if isinstance(question, list):
            self.shot("quit-question")
            self.activate(question[0])
            self.key("alt+" + answer)
        status = self.wait_for_exit()
        check(status == 0, f"the program ended with status {status}")

    def wait_for_exit(self, timeout=30):
        wait_until(lambda: self.app.poll() is not None, "the program to end", timeout)
        return self.app.returncode

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        for process in reversed(self.processes):
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
        self.processes.clear()
        shutil.rmtree(self.root, ignore_errors=True)

    # -- windows and input -----------------------------------------------

    def xdotool(self, *arguments):
        return self.run(["xdotool", *map(str, arguments)]).stdout.strip()

    def windows(self, name_pattern):
        result = self.run(["xdotool", "search", "--onlyvisible", "--name",
                           name_pattern], check=False)
        return result.stdout.split()

    def wait_window(self, name_pattern, timeout=20):
        return wait_until(lambda: (self.windows(name_pattern) or [None])[0],
                          f"a window named /{name_pattern}/", timeout)

    def wait_no_window(self, name_pattern, timeout=20):
        wait_until(lambda: not self.windows(name_pattern),
                   f"no window named /{name_pattern}/", timeout)

    def title(self, window=None):
        result = self.run(["xdotool", "getwindowname", window or self.main_window],
                          check=False)
        return result.stdout.strip()

    def wait_title(self, condition, what, timeout=20):
        return wait_until(lambda: condition(self.title()) and self.title(),
                          f"the main window's title {what} (it is {self.title()!r})",
                          timeout)

    def activate(self, window):
        self.xdotool("windowactivate", "--sync", window)
        wait_until(lambda: self.xdotool("getwindowfocus") == str(window),
                   f"focus on window {window}")

    def key(self, *keys):
        self.xdotool("key", "--delay", 40, *keys)

    def type(self, text):
        self.xdotool("type", "--delay", 20, text)

    def click(self, window, x, y, button=1, repeat=1):
        """A click at (x, y) of the window's inside (below its frame)."""
        self.xdotool("mousemove", "--window", window, x, y, "click",
                     "--repeat", repeat, "--delay", 60, button)

    def drag(self, window, start, end, steps=8):
        """Presses at `start`, moves in steps to `end` and releases there."""
        self.xdotool("mousemove", "--window", window, *start, "mousedown", 1)
        for step in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * step // steps
            y = start[1] + (end[1] - start[1]) * step // steps
            self.xdotool("mousemove", "--window", window, x, y)
            time.sleep(0.03)
        self.xdotool("mouseup", 1)

    def size(self, window):
        lines = self.xdotool("getwindowgeometry", "--shell", window).splitlines()
        values = dict(line.split("=", 1) for line in lines)
        return int(values["WIDTH"]), int(values["HEIGHT"])

    def frame(self, window):
        """(x, y, width, height) of the window's inside on the screen."""
        info = self.run(["xwininfo", "-id", str(window)]).stdout
        values = {}
        for line in info.splitlines():
            if ":" in line:
                key, _, value = line.strip().partition(":")
                values[key] = value.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

    # -- what a user sees and hears ---------------------------------------

    def shot(self, moment, window=None):
        """Saves a screen shot (of the window, or the whole screen)."""
        self.shot_count += 1
        path = self.shots / f"{self.shot_count:02d}-{moment}.png"
        self.run(["import", "-window", str(window or "root"), str(path)], check=False)
        return path

    def pixels(self, window, x, y, width, height):
        """The RGB bytes of a rectangle of the window's inside."""
        result = subprocess.run(
            ["import", "-window", str(window), "-crop", f"{width}x{height}+{x}+{y}",
             "-depth", "8", "rgb:-"], env=self.env, capture_output=True, timeout=30)
        check(result.returncode == 0, "import could not read the window")
        return result.stdout

    def wav_frames(self):
        return wav.frames(self.wav_file)

    def wait_sound(self, what, seconds=1.0, timeout=30):
        """Waits until the synth has written `seconds` of sound from now on
        that is not silent."""
        start = self.wav_frames()
        rate = 44100
        wait_until(lambda: self.wav_frames() >= start + seconds * rate,
                   f"{seconds:g} s more of the WAV file ({what})", timeout)
        check(wav.sounds(self.wav_file, start),
              f"the WAV file is silent while {what}")

    def wait_still(self, what, seconds=1.5, timeout=30):
        """Waits until the WAV file stays unchanged for `seconds`: the synth
        gets no more notes. The sound written after the last growth began
        must fade to silence."""
        def still():
            before = self.wav_frames()
            time.sleep(seconds)
            return self.wav_frames() == before
        wait_until(still, f"the WAV file to stop growing ({what})", timeout)

    def media(self, *arguments):
        """playerctl's answer about the program's media session, '' without one."""
        if shutil.which("playerctl") is None or "DBUS_SESSION_BUS_ADDRESS" not in self.env:
            return ""
        result = self.run(["playerctl", "--player=VantuMIDI", *arguments], check=False)
        return result.stdout.strip()

    def wait_media(self, expected, *arguments, timeout=20):
        if shutil.which("playerctl") is None:
            return
        wait_until(lambda: self.media(*arguments) == expected,
                   f"playerctl {' '.join(arguments)} to say {expected!r} "
                   f"(it says {self.media(*arguments)!r})", timeout)


def run_scenario(scenario, timeout=240):
    """The main of a scenario file: scenario.py BUILD-DIR."""
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} BUILD-DIR", file=sys.stderr)
        return 2
    name = pathlib.Path(sys.argv[0]).stem
    desktop = Desktop(sys.argv[1], name)

    def watchdog(signum, frame):
        raise Watchdog(f"the scenario took longer than {timeout} s")
    signal.signal(signal.SIGALRM, watchdog)
    signal.alarm(timeout)
    started = time.monotonic()
    status = 1
    try:
        desktop.start()
        scenario(desktop)
        status = 0
        print(f"{name}: passed in {time.monotonic() - started:.1f} s")
    except Skip as reason:
        status = SKIPPED
        print(f"{name}: skipped: {reason}")
    except (Failure, Watchdog) as failure:
        print(f"{name}: FAILED: {failure}")
        traceback.print_exc()
    except Exception:
        print(f"{name}: FAILED with an error")
        traceback.print_exc()
    finally:
        signal.alarm(0)
        if status == 1 and desktop.display:
            print(f"  screen shots: {desktop.shot(FAILED_SHOT).parent}")
            log = desktop.root / "program.log"
            if log.exists():
                print("  program output:\n" + log.read_text(errors="replace")[-4000:])
        desktop.stop()
    return status


FAILED_SHOT = "failed"
