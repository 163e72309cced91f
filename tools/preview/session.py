"""One preview worker's own X server and Wine prefix, and the programs it runs in them.

A worker clones a ready base prefix, sets the display scale in its clone, puts the stub
wineboot.exe in its system32 (Wine turns a restart request into a wineboot run: the stub records
it and ends nothing), and starts one Wine session per language under that language's locale,
since wineserver reads the locale when it starts. The X server, the prefix clone, the scale and
the Wine servers are those of ./dev and the end-to-end scenarios (tools/dev/display.sh and
wine.sh, run through bash); the window is read and pressed through the scenarios' probe.
"""

import os
import shutil
import subprocess
import time

WINE64 = "/usr/lib/wine/wine64"
CONVERT = "/usr/bin/convert"  # /usr/local/bin/convert may be a stand-in
DEV_TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "dev")
SCREEN = (1024, 768)  # at 100 %: room beside the 800 x 570 window for the pointer to rest
# The preview's folder in the prefix, which the stand-in installer reads and writes
# (tools/preview/stand_in.cpp).
PREVIEW_FOLDER = ("drive_c", "setup-preview")
# The shared shell steps, each run as: bash -c SHELL_STEPS DEV_TOOLS FUNCTION ARGUMENTS...
SHELL_STEPS = 'source "$0/wait.sh"; source "$0/display.sh"; source "$0/wine.sh"; "$@"'


def shell_step(*command, env=None, timeout=120):
    """Runs one function of tools/dev (clone_prefix, set_prefix_dpi, start_wineserver, ...)."""
    result = subprocess.run(["bash", "-c", SHELL_STEPS, DEV_TOOLS, *command], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, stdin=subprocess.DEVNULL, env=env, timeout=timeout)
    if result.returncode != 0:
        raise SessionError(f"{command[0]} failed: {result.stderr.decode(errors='replace').strip()}")
    return result.stdout.decode(errors="replace")


def screen_for(dpi):
    """The X screen for a window at `dpi`: the 100 % screen at that scale, so the window fits it
    as at 100 % (a window that does not fit the screen lowers its own scale)."""
    return tuple(-(-length * dpi // 96) for length in SCREEN)


class SessionError(Exception):
    """The X server or Wine did not start, or a program did not answer."""


class Programs:
    """The Windows programs a worker runs, from the x86_64 build tree."""

    def __init__(self, build):
        self.setup = os.path.join(build, "Setup.exe")
        self.probe = os.path.join(build, "tests", "e2e", "probe.exe")
        self.wineboot_stub = os.path.join(build, "tests", "e2e", "installers", "wineboot_stub.exe")
        self.measure = os.path.join(build, "tools", "preview", "preview_measure.exe")
        self.stand_in = os.path.join(build, "tools", "preview", "preview_stand_in.exe")
        self.window_facts = os.path.join(build, "window_facts.exe")

    def missing(self):
        return [path for path in (self.setup, self.probe, self.wineboot_stub, self.measure, self.stand_in,
                                  self.window_facts) if not os.path.isfile(path)]


class Session:
    """An X server and a Wine prefix of one worker; `start(locale)` begins a Wine session. The
    prefix reports `dpi` to Setup, and the window's layout at that dpi is `facts()`."""

    def __init__(self, work, base_prefix, programs, dpi=96):
        self.work = work
        self.prefix = os.path.join(work, "prefix")
        self.programs = programs
        self.dpi = dpi
        self.screen = screen_for(dpi)
        self._facts = None
        self.locale = "C.UTF-8"
        self.display = None
        self._xvfb = None
        os.makedirs(work, exist_ok=True)
        shell_step("clone_prefix", base_prefix, self.prefix)
        shell_step("set_prefix_dpi", self.prefix, str(dpi))
        system32 = os.path.join(self.prefix, "drive_c", "windows", "system32")
        wineboot = os.path.join(system32, "wineboot.exe")
        if os.path.lexists(wineboot):
            os.unlink(wineboot)  # a hard link into the base prefix: replaced, never written through
        shutil.copyfile(programs.wineboot_stub, wineboot)
        self.preview_folder = os.path.join(self.prefix, *PREVIEW_FOLDER)
        os.makedirs(self.preview_folder, exist_ok=True)
        self._start_xvfb()

    # ---------------------------------------------------------------- X

    def _start_xvfb(self):
        # display.sh's server, kept by a shell that waits for it and stops it when told to end.
        script = ('source "$0/wait.sh"; source "$0/display.sh"; trap "stop_xvfb; exit 0" TERM; '
                  'start_xvfb "$1" "$2" || exit 1; echo "$DISPLAY"; wait "$XVFB_PID"')
        self._xvfb = subprocess.Popen(
            ["bash", "-c", script, DEV_TOOLS, os.path.join(self.work, "xvfb.log"), f"{self.screen[0]}x{self.screen[1]}"],
            stdout=subprocess.PIPE, stdin=subprocess.DEVNULL)
        display = self._xvfb.stdout.readline().decode().strip()
        if not display:
            raise SessionError("Xvfb did not start")
        self.display = display

    def screenshot(self, path):
        with open(path, "wb") as out:
            subprocess.run(["xwd", "-root", "-silent", "-display", self.display], stdout=out, check=True, timeout=20)

    def click_at(self, x, y):
        corner = (self.screen[0] - 4, self.screen[1] - 8)
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "sleep", "0.05", "click", "1", "sleep", "0.05",
                        "mousemove", str(corner[0]), str(corner[1])],
                       env=self.environment(), check=True, timeout=10)

    def park_pointer(self):
        # Wine's desktop puts the pointer mid-screen, over a menu button: parked in a corner, no
        # button starts out hovered.
        subprocess.run(["xdotool", "mousemove", str(self.screen[0] - 4), str(self.screen[1] - 8)],
                       env=self.environment(), check=False, timeout=10)

    # ---------------------------------------------------------------- Wine

    def environment(self, restart_stub=False):
        env = {key: value for key, value in os.environ.items()
               if not key.startswith("WINE") and key not in ("LANG", "LANGUAGE") and not key.startswith("LC_")}
        env.update(WINEPREFIX=self.prefix, WINEDEBUG="-all", LC_ALL=self.locale)
        if self.display:
            env["DISPLAY"] = self.display
        if restart_stub:
            # Only Setup and what it starts take the stub; the session's own wineboot run stays
            # Wine's, or the session would never be set up.
            env["WINEDLLOVERRIDES"] = "wineboot.exe=n"
        return env

    def start(self, locale):
        """Ends the prefix's session and starts one under `locale` (ll_CC)."""
        self.stop()
        self.locale = f"{locale}.UTF-8"
        # The session's own processes (services, the desktop) start here, on this worker's display.
        shell_step("start_wineserver", self.prefix, self.locale, os.path.join(self.work, "wineserver.log"),
                   env=self.environment())
        self.park_pointer()

    def stop(self):
        shell_step("stop_wineserver", self.prefix, env=self.environment(), timeout=60)

    def run(self, command, timeout=30, check=True):
        try:
            result = subprocess.run(command, env=self.environment(), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                    stdin=subprocess.DEVNULL, timeout=timeout)
        except subprocess.TimeoutExpired as error:
            program = " ".join(os.path.basename(part) for part in command[:2])
            raise SessionError(f"{program} did not answer in {timeout} s") from error
        if check and result.returncode != 0:
            raise SessionError(f"{' '.join(os.path.basename(part) for part in command[:3])} failed "
                               f"({result.returncode}): {result.stderr.decode(errors='replace').strip()}")
        return result

    def probe(self, *arguments, timeout=30, check=True):
        return self.run([WINE64, self.programs.probe, *arguments], timeout=timeout, check=check)

    def facts(self):
        """The file of the window's layout at this session's dpi, as window_facts --facts prints it;
        made in the first Wine session."""
        if self._facts is None:
            command = [WINE64, self.programs.window_facts, "--facts", "--dpi", str(self.dpi)]
            path = os.path.join(self.work, "facts.tsv")
            with open(path, "wb") as out:
                out.write(self.run(command).stdout)
            self._facts = path
        return self._facts

    def measure(self, most_dots=False):
        command = [WINE64, self.programs.measure, "--facts", windows_path(self.facts())]
        return self.run(command + (["--most-dots"] if most_dots else []), timeout=60).stdout.decode(
            "utf-8", errors="replace")

    def start_setup(self, medium_copy, log_path):
        log = open(log_path, "ab")
        try:
            return subprocess.Popen([WINE64, os.path.join(medium_copy, "Setup.exe")],
                                    env=self.environment(restart_stub=True), stdout=log, stderr=log,
                                    stdin=subprocess.DEVNULL)
        finally:
            log.close()

    def restart_requests(self):
        path = os.path.join(self.prefix, "drive_c", "wineboot-calls.log")
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8", errors="replace") as log:
            return [line.strip() for line in log if line.strip()]

    def close(self, keep_prefix=False):
        self.stop()
        if self._xvfb is not None:
            self._xvfb.terminate()
            try:
                self._xvfb.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self._xvfb.kill()
                self._xvfb.wait()
            self._xvfb.stdout.close()
            self._xvfb = None
        if not keep_prefix and os.path.exists(self.prefix):
            shutil.rmtree(self.prefix, ignore_errors=True)


def windows_path(path):
    """A Linux path as Wine's programs name it: drive Z: is the root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_until(condition, timeout, poll=0.05):
    """Polls `condition` until it returns something true or the time is up; returns its last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(poll)
