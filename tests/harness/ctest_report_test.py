#!/usr/bin/env python3
"""tools/dev/ctest_report.py: what ./dev counts from ctest's own reports.

tests/data/ctest/junit.xml is what ctest 3.25 wrote with --output-junit for a project whose
tests pass, fail, time out, skip themselves, are disabled, lack a required file or need a fixture
that failed.
"""
import json
import pathlib
import subprocess
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
REPORT = HERE.parent.parent / "tools" / "dev" / "ctest_report.py"
JUNIT = HERE.parent / "data" / "ctest" / "junit.xml"


def run(*args, stdin=""):
    return subprocess.run([sys.executable, str(REPORT), *args], input=stdin, capture_output=True, text=True)


def junit(cases):
    body = "".join(f'<testcase name="t{i}" status="{status}">{inner}</testcase>' for i, (status, inner) in enumerate(cases))
    return f'<?xml version="1.0"?><testsuite tests="{len(cases)}">{body}</testsuite>'


# what, test cases (status, inner XML), expected "passed failed skipped"
CASES = [
    ("no tests", [], "0 0 0"),
    ("passed", [("run", "")], "1 0 0"),
    ("failed or timed out", [("fail", '<failure message=""/>')], "0 1 0"),
    ("not run for a failed fixture", [("notrun", '<skipped message="Fixture dependency failed"/>')], "0 1 0"),
    ("not run for a missing file", [("notrun", '<skipped message="Required Files Missing"/>')], "0 1 0"),
    ("skipped by its return code", [("notrun", '<skipped message="SKIP_RETURN_CODE=77"/>')], "0 0 1"),
    ("disabled", [("disabled", "")], "0 0 1"),
]


def main():
    failures = 0

    def check(what, expected, actual):
        nonlocal failures
        if expected == actual:
            print(f"ok   {what}")
        else:
            print(f"FAIL {what}: expected {expected!r}, got {actual!r}")
            failures += 1

    with tempfile.TemporaryDirectory() as work:
        for what, cases, expected in CASES:
            path = pathlib.Path(work) / "report.xml"
            path.write_text(junit(cases))
            check(f"junit: {what}", expected, run("junit", str(path)).stdout.strip())
        check("junit: ctest's own report (pass, fail, time-out, skip, disabled, missing file, fixture)",
              "1 5 2", run("junit", str(JUNIT)).stdout.strip())
        missing = run("junit", str(pathlib.Path(work) / "none.xml"))
        check("junit: a missing report is an error", True, missing.returncode != 0)

    listing = {"kind": "ctestInfo", "tests": [{"name": "a"}, {"name": "b"}]}
    check("listed: two tests", "2", run("listed", stdin=json.dumps(listing)).stdout.strip())
    check("listed: none", "0", run("listed", stdin=json.dumps({"kind": "ctestInfo", "tests": []})).stdout.strip())
    check("no arguments: usage", True, run().returncode != 0)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
