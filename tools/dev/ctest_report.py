#!/usr/bin/env python3
"""Reads ctest's own reports for ./dev, so that no line of its output text is scraped.

  ctest_report.py junit FILE   prints "PASSED FAILED SKIPPED" from a ctest --output-junit report
  ctest_report.py listed       prints how many tests a ctest --show-only=json-v1 listing (standard
                               input) selects

A test that ctest did not run although it was selected (a failed fixture, a missing required
file) counts as failed: the run did not show that it passes. Only a disabled test, or one that
skipped itself by its SKIP_RETURN_CODE, counts as skipped.
"""
import json
import sys
import xml.etree.ElementTree as ElementTree


def junit_counts(path):
    passed = failed = skipped = 0
    for case in ElementTree.parse(path).getroot().iter("testcase"):
        status = case.get("status", "")
        skip = case.find("skipped")
        if status == "run" and case.find("failure") is None:
            passed += 1
        elif status == "disabled" or (skip is not None and "SKIP_" in skip.get("message", "")):
            skipped += 1
        else:
            failed += 1
    return passed, failed, skipped


def main(argv):
    if len(argv) == 3 and argv[1] == "junit":
        print(*junit_counts(argv[2]))
    elif len(argv) == 2 and argv[1] == "listed":
        print(len(json.load(sys.stdin).get("tests", [])))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
