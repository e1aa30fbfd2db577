#!/usr/bin/env bash
# The matcher's share of a real scan: the Windows build's veltrane-cli scans a
# Wine prefix seeded with a synthetic registry tree (real-looking keys, value
# names and data that name files) through the real Win32 registry and file
# system, in turns with the exclusions only and with the exclusions and 5,000
# tags of 8 to 12 letters. Wall-clock time of each scan; each kind keeps its
# fastest. It prints figures and asserts nothing.
#
#   bench/wine_scan_share.sh [KEYS [VALUES [ROUNDS]]]   (default 60000 100000 3)
#
# Needs build/win64/bin/veltrane-cli.exe (cmake --preset win64, then build)
# and build/host/bin/veltrane_scan_seed (cmake --preset host, then build).
# Works in build/wine-scan-share; touches nothing outside the work tree.
set -u -o pipefail
keys=${1:-60000} values=${2:-100000} rounds=${3:-3}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/scripts/lib/wine.sh"
. "$root/scripts/lib/demo-seed.sh"
cli=$root/build/win64/bin/veltrane-cli.exe
seed=$root/build/host/bin/veltrane_scan_seed
work=$root/build/wine-scan-share
for need in "$cli" "$seed"; do
  [ -x "$need" ] || [ -f "$need" ] || { echo "missing $need: build it first" >&2; exit 2; }
done

wine_work_fresh "$work" || exit 2
trap 'wine_prefix_stop "$WINEPREFIX"' EXIT

echo "seeding $keys keys and $values values below HKEY_CURRENT_USER\\Software\\VeltraneScanBench" >&2
"$seed" reg "$keys" "$values" >"$work/tree.reg" || exit 2
wine reg import "$(winepath -w "$work/tree.reg" 2>/dev/null)" >/dev/null 2>&1 || { echo "reg import failed" >&2; exit 2; }

# The first start copies the shipped tag files into the settings folder.
wine "$cli" scan --offline </dev/null >/dev/null 2>&1
user=$(demo_profile_name) || exit 2
settings=$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Orlenvik/Veltrane/Settings
[ -d "$settings" ] || { echo "no settings folder at $settings" >&2; exit 2; }
"$seed" exclusions >"$work/exclusions.dat"
"$seed" tags 5000 >"$work/tags.dat"
printf 'qqqqxzxzqqqq\r\n' >"$work/no-tags.dat"  # a tag no name holds: next to nothing to match
cp "$work/exclusions.dat" "$settings/maltagEx.dat"

declare -A fastest found
for ((round = 1; round <= rounds; ++round)); do
  for kind in exclusions tags; do
    if [ $kind = tags ]; then cp "$work/tags.dat" "$settings/maltag.dat"; else cp "$work/no-tags.dat" "$settings/maltag.dat"; fi
    started=$(date +%s%N)
    wine "$cli" scan --offline </dev/null >"$work/$kind.log" 2>"$work/$kind.err"
    status=$?
    ms=$((($(date +%s%N) - started) / 1000000))
    [ $status -le 1 ] || { echo "scan failed ($status): $(tail -n 3 "$work/$kind.err")" >&2; exit 2; }
    found[$kind]=$(grep -c -E 'Infected registry key|Malware Object|Malware Addon' "$work/$kind.log")
    echo "round $round, $kind: $ms ms" >&2
    if [ -z "${fastest[$kind]:-}" ] || [ "$ms" -lt "${fastest[$kind]}" ]; then fastest[$kind]=$ms; fi
  done
done

printf 'Wine scan of %s keys and %s values (wall clock, the fastest of %s)\n' "$keys" "$values" "$rounds"
printf '  exclusions only:          %6d ms  %s found\n' "${fastest[exclusions]}" "${found[exclusions]}"
printf '  exclusions and 5000 tags: %6d ms  %s found\n' "${fastest[tags]}" "${found[tags]}"
awk -v a="${fastest[exclusions]}" -v b="${fastest[tags]}" \
  'BEGIN { printf "tag matching share of the scan under Wine: %.1f%%\n", 100 * (b - a) / b }'
