#!/usr/bin/env bash
# End to end under Wine: seeds a fresh prefix with sample adware and
# look-alikes (scripts/lib/demo-seed.sh), runs the real program and checks
# that the scan reports exactly the seeded adware, that the shortcuts made by
# the shell resolve to their targets, and that the two list commands show
# the seeded programs and add-ons.
#
#   scan_e2e.sh VELTRANE_CLI_EXE WORK_DIR [PROGRAM_FILES]
#
# PROGRAM_FILES: the folder below C: that the program takes for Program Files,
# "Program Files" for a 64-bit build (default), "Program Files (x86)" for a
# 32-bit one.
set -u -o pipefail
cli=$1 work=$2 pf=${3:-Program Files}
pfl=$(printf '%s' "$pf" | tr 'A-Z' 'a-z')
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root/scripts/lib/wine.sh"
. "$root/scripts/lib/demo-seed.sh"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

wine_work_fresh "$work" || { echo "no wine prefix" >&2; exit 1; }
trap 'wine_prefix_stop "$WINEPREFIX"' EXIT
demo_seed "$pf" || { echo "seeding failed" >&2; exit 1; }
user=$(demo_profile_name) || exit 1

# Runs the program: COMMAND... ; output in $work/<first word>.out/.err, status in $rc.
run() {
  local name=$1
  timeout 300 wine "$cli" "$@" </dev/null >"$work/$name.raw" 2>"$work/$name.err"
  rc=$?
  tr -d '\r' <"$work/$name.raw" >"$work/$name.out"
  [ $rc -ne 124 ] || fail "$name did not end within 300 s (a walk that follows the link loop?)"
}

# --------------------------------------------------------------------- scan
run scan --offline
[ $rc -eq 1 ] || fail "scan exit code $rc, expected 1 (objects found); stderr:$(sed 's/^/  /' "$work/scan.err")"

# Detection lines without their time stamp (the text from the first ": ").
awk '{ i = index($0, ": "); if (i) print substr($0, i + 2) }' "$work/scan.out" |
  grep -E '^(Malware Object \(|Infected registry key \(|(Chrome|Firefox) Malware Addon \()' | sort >"$work/found.txt"
sort >"$work/expected.txt" <<EXPECTED
Malware Object (PUP.Conduit) C:\\$pf\\Conduit -> No action taken.
Malware Object (PUP.SearchProtect) C:\\$pf\\SearchProtect -> No action taken.
Malware Object (PUP.Wajam) C:\\users\\$user\\AppData\\Local\\Wajam -> No action taken.
Malware Object (PUP.Search Protect) C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Search Protect -> No action taken.
Malware Object (PUP.Tuto4PC) C:\\Tuto4PC -> No action taken.
Infected registry key (PUP.searchprotect) HKEY_CURRENT_USER->Software\\Classes\\Applications\\SearchProtect.exe -> No action taken.
Infected registry key (PUP.conduit) HKEY_CURRENT_USER\\Software\\Conduit\\Toolbar->Helper->C:\\$pf\\Conduit\\CT3289847\\ToolbarHelper.exe -> No action taken.
Infected registry key (PUP.wajam) HKEY_CURRENT_USER\\Software\\Wajam->WajamUpdater.exe -> No action taken.
Infected registry key (PUP.searchprotect) HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run->Client Connect->"C:\\$pf\\SearchProtect\\bin\\cltmngui.exe" /startup -> No action taken.
Infected registry key (PUP.conduit) HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run->Toolbar Helper->C:\\$pf\\Conduit\\CT3289847\\ToolbarHelper.exe -> No action taken.
Infected registry key (PUP.searchprotect) HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\SearchProtect->UninstallString->C:\\$pf\\SearchProtect\\bin\\uninstall.exe -> No action taken.
Infected registry key (PUP.wajam) HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run->Wajam Updater->C:\\users\\$user\\AppData\\Local\\Wajam\\WajamUpdater.exe -> No action taken.
Infected registry key (PUP.wajam) HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Wajam->UninstallString->C:\\users\\$user\\AppData\\Local\\Wajam\\uninstall.exe -> No action taken.
Chrome Malware Addon (Riskware) -> Quick Deals Finder -> No action taken.
Firefox Malware Addon (MAL.MindsparkToolbarPlatform) -> Mindspark Toolbar Platform -> No action taken.
EXPECTED
if diff -u "$work/expected.txt" "$work/found.txt" >"$work/found.diff"; then
  ok "the scan found exactly the seeded adware (15 objects) and none of the decoys"
else
  fail "the scan's findings differ from the seeded adware (- expected, + found):"
  sed 's/^/  /' "$work/found.diff" >&2
fi
grep -q ': 15 object(s) found on your computer!$' "$work/scan.out" || fail "no count line for 15 objects in the log"
head -n 1 "$work/scan.out" | grep -qx 'Veltrane (19.6.2015) log.' || fail "the log does not start with its title line"
grep -q '\[No\]$' "$work/scan.err" || fail "the removal offer was not answered No on stderr"
grep -q '^Log: C:\\users\\'"$user"'\\AppData\\Roaming\\Orlenvik\\Veltrane\\Settings\\log.txt$' "$work/scan.err" ||
  fail "stderr does not name the saved log"
settings=$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Orlenvik/Veltrane/Settings
cmp -s "$settings/maltag.dat" "$(dirname "$cli")/maltag.dat" && cmp -s "$settings/maltagEx.dat" "$(dirname "$cli")/maltagEx.dat" ||
  fail "the first start did not copy the shipped tag files into the settings folder"

# ---------------------------------------------------------------- shortcuts
# links.txt lists each shortcut made by the shell with its target, lower-cased.
before=$failures
links=$(dirname "$cli")/links.txt
tr -d '\r' <"$links" >"$work/links.txt" 2>/dev/null || fail "no links.txt beside the program"
while IFS="|" read -r name target lnk; do
  line="$name=;$target;$lnk;"
  grep -qxF -- "$line" "$work/links.txt" || fail "links.txt lacks: $line"
done <<LINKS
cltmngui.exe|c:\\$pfl\\searchprotect\\bin\\cltmngui.exe|C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Search Protect\\Search Protect.lnk
toolbarhelper.exe|c:\\$pfl\\conduit\\ct3289847\\toolbarhelper.exe|C:\\users\\$user\\Desktop\\Conduit Toolbar.lnk
tuto4pc.exe|c:\\tuto4pc\\tuto4pc.exe|C:\\users\\Public\\Desktop\\Tuto4PC.lnk
notepad++.exe|c:\\$pfl\\notepad++\\notepad++.exe|C:\\users\\$user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Notepad++.lnk
LINKS
[ $failures -eq $before ] && ok "the seeded shortcuts resolve to their targets"

# ----------------------------------------------------------- the two pages
before=$failures
run programs --offline
[ $rc -eq 0 ] || fail "programs exit code $rc"
for row in $'Search Protect by Conduit\tClient Connect LTD\t2.16.30.88\tADW.conduit' \
           $'Wajam\tWajam Internet Technologies\t2.31\tADW.wajam' \
           $'Notepad++ (64-bit x64)\tNotepad++ Team\t8.6.2\tOk'; do
  grep -qxF -- "$row" "$work/programs.out" || fail "programs lacks the row: $row"
done
rows=$(($(wc -l <"$work/programs.out") - 1))
tail -n 1 "$work/programs.out" | grep -qx "Programs And Features ($rows)" || fail "programs does not end with its title and count ($rows rows)"

run addons --offline
[ $rc -eq 0 ] || fail "addons exit code $rc"
for row in $'Quick Deals Finder\tChrome\t*\tRiskware' $'uBlock Origin\tChrome\t*\tOk' \
           $'Mindspark Toolbar Platform\tFirefox\t*\tADW.MindsparkToolbarPlatform' $'uBlock Origin\tFirefox\t*\tOk'; do
  pattern=$(printf '%s' "$row" | sed 's/\*/[^\t]*/')
  grep -qx -- "$pattern" "$work/addons.out" || fail "addons lacks the row: $row"
done
tail -n 1 "$work/addons.out" | grep -qx 'Browser Add-ons (4)' || fail "addons does not end with \"Browser Add-ons (4)\""
[ $failures -eq $before ] && ok "programs and addons list the seeded entries"

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed; outputs are in $work" >&2
  exit 1
fi
echo "all end-to-end checks passed"
