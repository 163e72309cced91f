"""One language's walk through the real Setup.exe: every page, measured and photographed.

menu -> default installation -> back -> custom installation -> back -> manuals -> back ->
custom installation, select all, install: the progress page is taken while the first stand-in
installer holds (its row running, the heading with its dots), the finish page once every row
has its result, the restart page once the countdown has counted. Setup is then closed; what the
countdown would have asked for reaches the stub wineboot.exe and ends nothing.
"""

import os
import re
import subprocess
import time

import report
import sheet
from session import SessionError, wait_until

BUTTON = {"default": 1000, "custom": 1001, "manuals": 1002, "back": 1015, "install": 1016, "select_all": 1033}
SHOWS = {"menu": 1000, "default": 1025, "custom": 1035, "manuals": 1044, "progress": 1045, "finish": 1047,
         "restart": 1056}
PROGRESS_HEADING = 1045
FIRST_DOT_LABEL = 1051
SECONDS = 1057
WINDOW_TIMEOUT = 30
PAGE_TIMEOUT = 10
RUN_TIMEOUT = 90
COUNTDOWN_TIMEOUT = 5


class PageShot:
    def __init__(self, name, image, window, measured, lists=None):
        self.name = name
        self.image = image  # relative to the output folder
        self.window = window
        self.measured = measured
        self.lists = lists or {}


class LanguageResult:
    def __init__(self, run):
        self.run = run
        self.pages = {}
        self.failure = None  # why the walk stopped, when it did
        self.notes = []
        self.restart_requests = []
        self.stand_in_runs = 0
        self.seconds = 0.0

    def measured(self):
        return {name: shot.measured for name, shot in self.pages.items()}

    def problems(self):
        return ([self.failure] if self.failure else []) + self.notes


class Walk:
    def __init__(self, session, run, medium_copy, out, scratch, outline=False):
        self.session = session
        self.run = run
        self.copy = medium_copy
        self.out = out
        self.scratch = scratch
        self.outline = outline
        self.result = LanguageResult(run)
        self.setup = None
        self.running_text = ""
        self.centres = {}

    # ---------------------------------------------------------------- steps

    def go(self):
        started = time.monotonic()
        try:
            self._walk()
        except (SessionError, OSError, subprocess.SubprocessError) as error:
            self.result.failure = str(error)
        finally:
            self._end_setup()
            self.result.restart_requests = self.session.restart_requests()
            self.result.stand_in_runs = self._stand_in_runs()
            self.result.seconds = time.monotonic() - started
        return self.result

    def _walk(self):
        self.session.start(self.run.locale)
        self._clear_notes()
        self.setup = self.session.start_setup(self.copy, os.path.join(self.scratch, f"{self.run.code}-setup.log"))
        if not self._wait_window():
            raise SessionError("Setup showed no window")
        self._read_layout()
        self._check_scale()
        label = self.session.probe("text", str(FIRST_DOT_LABEL)).stdout.decode("utf-8", errors="replace")
        label = report.unescape(label.rstrip("\r\n"))
        self.running_text = label[:-1] if label.endswith(".") else ""
        self.capture("menu")
        for page in ("default", "custom", "manuals"):
            self._open(page)
            self.capture(page)
            self._open("back", shows="menu")
        self._open("custom")
        # Every installer with a launch rule runs, so that every row shows a result.
        self._press("select_all")
        open(os.path.join(self.session.preview_folder, "hold"), "w").close()
        self._press("install")
        if self._wait_progress():
            self.capture("progress", most_dots=True)
        else:
            self.result.notes.append("the progress page passed before its picture: no installer of the list held it "
                                     "(none has a launch rule that leads to a program)")
        os.unlink(os.path.join(self.session.preview_folder, "hold"))
        if not self._wait_shown("finish", RUN_TIMEOUT, answer_boxes=True):
            raise SessionError(f"the finish page did not come within {RUN_TIMEOUT} s")
        self.capture("finish")
        if self._wait_countdown():
            self.capture("restart")
        else:
            self.result.notes.append("no restart countdown followed the run")

    def capture(self, page, most_dots=False):
        output = self.session.measure(most_dots=most_dots)
        window, measured = report.parse_measure(output, page)
        if window is None:
            raise SessionError(f"the measuring program found no window on the {page} page")
        lists = report.parse_lists(output)
        raw = os.path.join(self.scratch, f"{self.run.code}-{page}.xwd")
        self.session.screenshot(raw)
        image = f"{self.run.code}/{page}.png"
        outlines = sheet.outlines(page, measured, lists) if self.outline else None
        sheet.render_page(raw, window, report.marked_boxes(measured), os.path.join(self.out, image), outlines)
        os.unlink(raw)
        self.result.pages[page] = PageShot(page, image, window, measured, lists)

    # ---------------------------------------------------------------- waiting

    def _read_layout(self):
        """Where the window and its buttons are on the screen; neither moves once it shows."""
        window = self.session.probe("window").stdout.decode("utf-8", errors="replace").split("\t")
        origin = (int(window[6]), int(window[7]))
        for line in self.session.probe("dump").stdout.decode("utf-8", errors="replace").splitlines():
            fields = line.split("\t")
            if len(fields) >= 8 and fields[0].isdigit():
                x, y, width, height = (int(value) for value in fields[4:8])
                self.centres[int(fields[0])] = (origin[0] + x + width // 2, origin[1] + y + height // 2)

    def _check_scale(self):
        """The window must show at the scale its facts are for: one that does not fit the screen
        lowers its scale, and would be measured with the wrong fonts."""
        with open(self.session.facts(), encoding="utf-8", errors="replace") as facts:
            expected = report.facts_window(facts.read())
        fields = self.session.probe("window").stdout.decode("utf-8", errors="replace").split("\t")
        shown = (int(fields[8]), int(fields[9]))
        if expected != shown:
            raise SessionError(f"the window shows {shown[0]} x {shown[1]}, not {expected[0]} x {expected[1]} as at "
                               f"{self.session.dpi} dpi: it chose another scale")

    def _press(self, button):
        """Clicks a button with the pointer, as a user does, and takes the pointer away again: an
        image button keeps its pressed caption colour until the pointer leaves it."""
        x, y = self.centres[BUTTON[button]]
        self.session.click_at(x, y)

    def _open(self, button, shows=None):
        self._press(button)
        page = shows or button
        if not self._wait_shown(page, PAGE_TIMEOUT):
            raise SessionError(f"the {page} page did not show")

    def _wait_window(self):
        def up():
            if self.setup.poll() is not None:
                return "ended"
            if self.session.probe("wait", "1000", timeout=30, check=False).returncode == 0:
                return "up"
            # conf.xml's debug box comes before the window and waits for a click.
            self._answer_boxes("before the window")
            return None
        return wait_until(up, WINDOW_TIMEOUT, poll=0) == "up"

    def _wait_shown(self, page, timeout, answer_boxes=False):
        control = str(SHOWS[page])

        def shown():
            if self.setup.poll() is not None:
                raise SessionError(f"Setup ended (exit code {self.setup.returncode}) before the {page} page")
            if answer_boxes:
                self._answer_boxes()
            wait_ms = "500" if answer_boxes else str(timeout * 1000)
            return self.session.probe("waitshown", control, "1", wait_ms, timeout=timeout + 30,
                                      check=False).returncode == 0
        return wait_until(shown, timeout, poll=0)

    def _answer_boxes(self, when="during the run"):
        """A box (the "Configuration exception" of a rule that leads nowhere, the debug box) waits
        for a click: it is noted and answered."""
        boxes = self.session.probe("boxes", check=False)
        if boxes.returncode != 0:
            return
        caption, texts = "", []
        for line in boxes.stdout.decode("utf-8", errors="replace").splitlines():
            fields = line.split("\t")
            if len(fields) >= 3 and fields[0] in ("box", "static") and fields[2]:
                text = " ".join(report.unescape(fields[2]).split())
                if fields[0] == "box":
                    caption = caption or text
                else:
                    texts.append(text)
        self.result.notes.append(f"a box showed {when}: {caption}: {' '.join(texts)}")
        self.session.probe("answer", "IDOK", "2000", check=False)

    def _wait_progress(self):
        """Until the heading shows two dots or more (the first stand-in holds meanwhile); False
        when the finish page comes first."""
        pattern = re.compile(re.escape(self.running_text) + r"\.{2,5}$")

        def running():
            heading = self.session.probe("text", str(PROGRESS_HEADING), check=False)
            text = report.unescape(heading.stdout.decode("utf-8", errors="replace").rstrip("\r\n"))
            if pattern.match(text):
                return "progress"
            if self.session.probe("waitshown", str(SHOWS["finish"]), "1", "0", check=False).returncode == 0:
                return "finish"
            self._answer_boxes()
            return None
        return wait_until(running, PAGE_TIMEOUT, poll=0.1) == "progress"

    def _wait_countdown(self):
        def counted():
            text = self.session.probe("text", str(SECONDS), check=False).stdout.decode().strip()
            return text.isdigit() and text != "8"
        return wait_until(counted, COUNTDOWN_TIMEOUT, poll=0.1)

    # ---------------------------------------------------------------- notes and the end

    def _clear_notes(self):
        for name in ("runs.log", "hold"):
            path = os.path.join(self.session.preview_folder, name)
            if os.path.exists(path):
                os.unlink(path)
        calls = os.path.join(self.session.prefix, "drive_c", "wineboot-calls.log")
        if os.path.exists(calls):
            os.unlink(calls)

    def _stand_in_runs(self):
        path = os.path.join(self.session.preview_folder, "runs.log")
        if not os.path.exists(path):
            return 0
        with open(path, "rb") as log:
            return log.read().count(b"\n")

    def _end_setup(self):
        hold = os.path.join(self.session.preview_folder, "hold")
        if os.path.exists(hold):
            os.unlink(hold)
        if self.setup is None or self.setup.poll() is not None:
            return
        self.session.probe("close", check=False)
        if wait_until(lambda: self.setup.poll() is not None, 5):
            return
        # Killing the Wine process of Setup itself: the probe's "end" looks for a process by its
        # file name, which a stand-in named setup.exe shares.
        self.setup.kill()
        self.setup.wait()
