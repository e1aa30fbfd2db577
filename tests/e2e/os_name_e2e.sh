#!/usr/bin/env bash
# The system's name under each Windows version that Wine can report: sets the
# version of a prefix of its own with winecfg and runs the Win32 tests' name
# check with the text expected for it.
#
#   os_name_e2e.sh VELTRANE_WIN32_TESTS_EXE WORK_DIR
set -u -o pipefail
tests_exe=$1 work=$2
# The runs below are part of this one check: they write no test report, which
# the test command would otherwise take for the whole Win32 test program's.
unset GTEST_OUTPUT
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root/scripts/lib/wine.sh"

wine_work_fresh "$work" || { echo "no wine prefix" >&2; exit 1; }
trap 'wine_prefix_stop "$WINEPREFIX"' EXIT

failures=0
# Wine's version name | the name expected on a 64-bit machine
while IFS='|' read -r version expected; do
  if ! wine winecfg -v "$version" </dev/null >"$work/winecfg.log" 2>&1; then
    echo "FAIL: winecfg -v $version"; failures=$((failures + 1)); continue
  fi
  wine_prefix_stop "$WINEPREFIX"
  if VELTRANE_EXPECT_OS_NAME=$expected wine "$tests_exe" --gtest_filter='StartupWin32Test.OsNameNamesTheRunningSystem' \
      </dev/null >"$work/$version.log" 2>&1; then
    echo "ok: $version -> \"$expected\""
  else
    echo "FAIL: $version, expected \"$expected\":"
    grep -E 'Which is|Expected|actual|expected' "$work/$version.log" | sed 's/^/  /'
    failures=$((failures + 1))
  fi
done <<'VERSIONS'
win7|Microsoft Windows 7 x64 Edition
winxp64|Microsoft Windows XP x64 Edition 
win8|Microsoft Windows 8 x64 Edition
win81|Microsoft Windows 8.1 x64 Edition
win10|Microsoft Windows 10 x64 Edition
VERSIONS

[ $failures -eq 0 ] || { echo "$failures version(s) named wrongly" >&2; exit 1; }
echo "every version named as expected"
