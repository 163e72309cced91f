#!/usr/bin/env bash
# Runs a check that must fail, and fails unless it does so for the expected reason: a rejection
# for any other reason (a missing file, a crash) proves nothing.
# Usage: expect_rejection.sh REGEX COMMAND...
set -uo pipefail
pattern="$1"; shift
output="$("$@" 2>&1)"; rc=$?
printf '%s\n' "$output"
if [ "$rc" -eq 0 ]; then echo "the check accepted what it must reject"; exit 1; fi
if ! grep -Eq -- "$pattern" <<<"$output"; then echo "the check failed, but not with: $pattern"; exit 1; fi
echo "rejected as expected: $pattern"
