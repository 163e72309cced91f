#!/usr/bin/python3
"""Runs the real Setup.exe on a copy of a medium once per language file, under Wine and Xvfb,
walks every page and writes one picture per page and language, a contact sheet (index.html) and
the list of every text that does not fit its control, measured in the running window.

    ./dev preview [MEDIUM] [--out DIR] [--json] [--scale PERCENT] [--outline]
                  [--locale xx_YY | --language CODE]

./dev passes the build's programs (--build, --setup-check) and a ready Wine prefix to clone
(--base-prefix). Exit status: 0 every text fits, 1 texts do not fit, 3 the preview could not
run (bad options, no medium, or a language whose walk failed). See docs/preview.md.
"""

import argparse
import json
import os
import queue
import shutil
import subprocess
import sys
import threading
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import medium_copy  # noqa: E402
import plan  # noqa: E402
import report  # noqa: E402
import sheet  # noqa: E402
from session import Programs, Session, SessionError  # noqa: E402
from walk import LanguageResult, Walk  # noqa: E402

CANNOT_RUN = 3
OUT_MARKER = ".setup-preview"
WORKERS = 2  # one per core: each language keeps Wine and the X server of its worker busy
MIN_SCALE, MAX_SCALE = 100, 400


def dpi_of(scale):
    """The dots per inch of a display scale in percent (150 -> 144), rounded half up."""
    return (96 * scale + 50) // 100


def log(message):
    print(f"== {message}", file=sys.stderr, flush=True)


def parse_options(argv):
    parser = argparse.ArgumentParser(prog="preview", description="Previews a medium in every language.")
    parser.add_argument("medium")
    parser.add_argument("--out", default=None, help="output folder (default: build/preview)")
    parser.add_argument("--json", action="store_true", help="the list as JSON on standard output")
    parser.add_argument("--scale", type=int, default=100,
                        help=f"the display scale in percent, {MIN_SCALE} to {MAX_SCALE} (default 100)")
    parser.add_argument("--outline", action="store_true",
                        help="outline every text's control in the pictures, numbered by its interface text")
    which = parser.add_mutually_exclusive_group()
    which.add_argument("--locale", help="preview only the language file this locale's user gets")
    which.add_argument("--language", help="preview only this language file (its code, e.g. de-de)")
    parser.add_argument("--build", required=True, help="the x86_64 build tree")
    parser.add_argument("--setup-check", required=True, help="setup-check, run natively")
    parser.add_argument("--base-prefix", required=True, help="a ready Wine prefix to clone")
    parser.add_argument("--workers", type=int, default=WORKERS)
    parser.add_argument("--keep", action="store_true", help="keep the medium copy and the prefixes")
    return parser.parse_args(argv)


def check_medium(setup_check, medium):
    result = subprocess.run([setup_check, "--json", medium], stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if result.returncode == CANNOT_RUN:
        raise plan.PlanError(result.stderr.decode(errors="replace").strip() or "setup-check could not read it")
    try:
        return json.loads(result.stdout)
    except ValueError as error:
        raise plan.PlanError(f"setup-check's report is not JSON ({error})") from error


def prepare_out(out):
    """Empties an earlier preview's folder; refuses any other folder that holds something."""
    if os.path.isdir(out) and os.listdir(out) and not os.path.exists(os.path.join(out, OUT_MARKER)):
        raise plan.PlanError(f"{out} holds files and is not a preview's folder; not touching it")
    if os.path.isdir(out):
        shutil.rmtree(out)
    os.makedirs(out)
    open(os.path.join(out, OUT_MARKER), "w").close()


def preview_all(runs, copy, out, work, options, programs):
    """Walks every language, spread over the workers; returns the results in the order of runs."""
    todo = queue.Queue()
    for index, run in enumerate(runs):
        todo.put((index, run))
    results = [None] * len(runs)
    lock = threading.Lock()

    def worker(number):
        try:
            session = Session(os.path.join(work, f"worker-{number}"), options.base_prefix, programs,
                              dpi_of(options.scale))
        except (SessionError, OSError, subprocess.SubprocessError) as error:
            log(f"worker {number} could not start: {error}")
            return
        try:
            while True:
                try:
                    index, run = todo.get_nowait()
                except queue.Empty:
                    return
                try:
                    result = Walk(session, run, copy, out, os.path.join(work, f"worker-{number}"),
                                  outline=options.outline).go()
                except Exception as error:  # noqa: BLE001 - one language's fault must not stop the others
                    result = LanguageResult(run)
                    result.failure = f"the walk failed: {error!r}"
                with lock:
                    results[index] = result
                log(f"{run.code} ({run.locale}): {len(result.pages)} pages in {result.seconds:.1f} s"
                    + "".join(f"; {problem}" for problem in result.problems()))
        finally:
            session.close(keep_prefix=options.keep)

    count = min(options.workers, len(runs))
    threads = [threading.Thread(target=worker, args=(number,)) for number in range(1, count + 1)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    for index, run in enumerate(runs):
        if results[index] is None:
            results[index] = LanguageResult(run)
            results[index].failure = "not previewed: no worker could start"
    return results


def main(argv):
    started = time.monotonic()
    options = parse_options(argv)
    medium = os.path.abspath(options.medium)
    out = os.path.abspath(options.out or "build/preview")
    programs = Programs(os.path.abspath(options.build))
    try:
        if not MIN_SCALE <= options.scale <= MAX_SCALE:
            raise plan.PlanError(f"--scale {options.scale}: the scale is {MIN_SCALE} to {MAX_SCALE} (percent)")
        if not os.path.isfile(os.path.join(medium, "conf.xml")):
            raise plan.PlanError(f"{options.medium} is not a medium (no conf.xml)")
        if os.path.commonpath([medium, out]) == medium:
            raise plan.PlanError(f"the output folder {out} lies inside the medium")
        missing = programs.missing()
        if missing:
            raise plan.PlanError("not built: " + ", ".join(missing))
        if not os.path.isfile(os.path.join(options.base_prefix, "system.reg")):
            raise plan.PlanError(f"no Wine prefix in {options.base_prefix}")
        checked = check_medium(options.setup_check, medium)
        runs = plan.language_runs(checked, language=options.language, locale=options.locale)
        prepare_out(out)
    except (plan.PlanError, OSError) as error:
        print(f"preview: {error}", file=sys.stderr)
        return CANNOT_RUN

    work = os.path.join(out, ".work")
    copy = os.path.join(work, "medium")
    os.makedirs(work, exist_ok=True)
    targets = plan.installer_targets(checked, [run.locale for run in runs])
    try:
        counts = medium_copy.build(medium, copy, programs.setup, programs.stand_in, targets)
    except OSError as error:
        print(f"preview: cannot make the copy of the medium: {error}", file=sys.stderr)
        return CANNOT_RUN
    log(f"medium copy: {counts['stand-in']} programs replaced by the stand-in installer "
        f"({len(targets)} launch targets), {counts['empty']} other runnable files emptied, {counts['link']} linked")
    log(f"previewing {len(runs)} language{'s' if len(runs) != 1 else ''} at {options.scale} %: "
        + ", ".join(f"{run.code} ({run.locale})" for run in runs))

    results = preview_all(runs, copy, out, work, options, programs)
    if not options.keep:
        shutil.rmtree(work, ignore_errors=True)

    item_ids = plan.item_ids(medium)
    overflows, problems = [], []
    failed = False
    for result in results:
        results_texts = report.result_texts(medium, result.run.file)
        overflows += report.gather(result.run, result.measured(), item_ids, results_texts)
        problems += [(result.run.code, problem) for problem in result.problems()]
        failed = failed or result.failure is not None
        if result.restart_requests:
            problems.append((result.run.code, f"the stub wineboot.exe took {len(result.restart_requests)} restart "
                                              "request(s); nothing was restarted"))
    problems += [("-", f"{file}: no user gets this file, so it was not previewed")
                 for file in plan.unused_language_files(checked)]

    seconds = time.monotonic() - started
    status = CANNOT_RUN if failed else 1 if overflows else 0
    index = sheet.write_sheet(out, options.medium, seconds, results, overflows, problems, options.scale)
    images = {(result.run.code, name): shot.image for result in results for name, shot in result.pages.items()}
    if options.json:
        languages = [(result.run, list(result.pages), result.stand_in_runs) for result in results]
        json.dump(report.json_report(options.medium, index, seconds, languages, overflows, problems, status, images,
                                     options.scale), sys.stdout, ensure_ascii=False, indent=2)
        sys.stdout.write("\n")
    else:
        sys.stdout.write(report.text_report(overflows, problems))
    log(f"{len(overflows)} text{'s' if len(overflows) != 1 else ''} that do{'es' if len(overflows) == 1 else ''} "
        f"not fit; sheet {index}")
    log(f"previewed {len(results)} language{'s' if len(results) != 1 else ''} in {seconds:.0f} s "
        f"({min(options.workers, len(runs))} workers)")
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
