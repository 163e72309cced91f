"""One preview worker's own X server and Wine prefix, and the programs it runs in them.

A worker clones a ready base prefix (hard links, with real copies of the registry files that
wineserver rewrites in place), puts the stub wineboot.exe in its system32 (Wine turns a restart
request into a wineboot run: the stub records it and ends nothing), and starts one Wine session
per language under that language's locale, since wineserver reads the locale when it starts.
"""

import os
import shutil
import subprocess
import time

WINE64 = "/usr/lib/wine/wine64"
WINESERVER64 = "/usr/lib/wine/wineserver64"
CONVERT = "/usr/bin/convert"  # /usr/local/bin/convert may be a stand-in
SCREEN = (1024, 768)
# The preview's folder in the prefix, which the stand-in installer reads and writes
# (tools/preview/stand_in.cpp).
PREVIEW_FOLDER = ("drive_c", "setup-preview")
REGISTRY_FILES = ("system.reg", "user.reg", "userdef.reg")


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

    def missing(self):
        return [path for path in (self.setup, self.probe, self.wineboot_stub, self.measure, self.stand_in)
                if not os.path.isfile(path)]


def clone_prefix(base, prefix):
    if os.path.lexists(prefix):
        shutil.rmtree(prefix)
    subprocess.run(["cp", "-al", base, prefix], check=True)
    for name in REGISTRY_FILES:
        source = os.path.join(base, name)
        if os.path.exists(source):
            target = os.path.join(prefix, name)
            os.unlink(target)
            shutil.copyfile(source, target)


class Session:
    """An X server and a Wine prefix of one worker; `start(locale)` begins a Wine session."""

    def __init__(self, work, base_prefix, programs):
        self.work = work
        self.prefix = os.path.join(work, "prefix")
        self.programs = programs
        self.locale = "C.UTF-8"
        self.display = None
        self._xvfb = None
        self._xvfb_log = None
        os.makedirs(work, exist_ok=True)
        clone_prefix(base_prefix, self.prefix)
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
        read_end, write_end = os.pipe()
        self._xvfb_log = open(os.path.join(self.work, "xvfb.log"), "w")
        # Xvfb picks a free display itself (-displayfd), so workers and other jobs never collide.
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=self._xvfb_log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end, "rb") as pipe:
            number = pipe.readline().strip()
        if not number:
            raise SessionError("Xvfb did not start")
        self.display = ":" + number.decode()

    def screenshot(self, path):
        with open(path, "wb") as out:
            subprocess.run(["xwd", "-root", "-silent", "-display", self.display], stdout=out, check=True, timeout=20)

    def click_at(self, x, y):
        corner = (SCREEN[0] - 4, SCREEN[1] - 8)
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "sleep", "0.05", "click", "1", "sleep", "0.05",
                        "mousemove", str(corner[0]), str(corner[1])],
                       env=self.environment(), check=True, timeout=10)

    def park_pointer(self):
        # Wine's desktop puts the pointer mid-screen, over a menu button: parked in a corner, no
        # button starts out hovered.
        subprocess.run(["xdotool", "mousemove", str(SCREEN[0] - 4), str(SCREEN[1] - 8)],
                       env=self.environment(), check=False, timeout=10)

    # ---------------------------------------------------------------- Wine

    def environment(self, restart_stub=False):
        env = {key: value for key, value in os.environ.items()
               if not key.startswith("WINE") and key not in ("LANG", "LANGUAGE") and not key.startswith("LC_")}
        env.update(WINEPREFIX=self.prefix, WINEDEBUG="-all", DISPLAY=self.display, LC_ALL=self.locale)
        if restart_stub:
            # Only Setup and what it starts take the stub; the session's own wineboot run stays
            # Wine's, or the session would never be set up.
            env["WINEDLLOVERRIDES"] = "wineboot.exe=n"
        return env

    def start(self, locale):
        """Ends the prefix's session and starts one under `locale` (ll_CC)."""
        self.stop()
        self.locale = f"{locale}.UTF-8"
        with open(os.path.join(self.work, "wineserver.log"), "a") as log:
            subprocess.run([WINESERVER64, "-p"], env=self.environment(), stdout=log, stderr=log,
                           stdin=subprocess.DEVNULL, check=True, timeout=30)
        # The session's own processes (services, the desktop) outlive this first program and keep
        # whatever output it had: it gets none, or waiting for its output would wait for them.
        subprocess.run([WINE64, "cmd", "/c", "exit"], env=self.environment(), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=120, check=False)
        self.park_pointer()

    def stop(self):
        env = self.environment()
        for argument in ("-k", "-w"):
            subprocess.run([WINESERVER64, argument], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           check=False, timeout=60)

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

    def measure(self, most_dots=False):
        command = [WINE64, self.programs.measure] + (["--most-dots"] if most_dots else [])
        return self.run(command, timeout=60).stdout.decode("utf-8", errors="replace")

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
                self._xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self._xvfb.kill()
                self._xvfb.wait()
            self._xvfb = None
        if self._xvfb_log is not None:
            self._xvfb_log.close()
            self._xvfb_log = None
        if not keep_prefix and os.path.exists(self.prefix):
            shutil.rmtree(self.prefix, ignore_errors=True)


def wait_until(condition, timeout, poll=0.05):
    """Polls `condition` until it returns something true or the time is up; returns its last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(poll)
