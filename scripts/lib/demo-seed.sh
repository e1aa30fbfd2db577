# Seeds a Wine prefix with sample adware and with legitimate look-alikes that
# a scan must leave alone. Shared by scripts/demo and the end-to-end scan test.
# Source this file from bash, after wine_env (scripts/lib/wine.sh) has
# exported WINEPREFIX and HOME for a prefix that already exists.
#
#   demo_seed [PROGRAM_FILES]   seeds $WINEPREFIX; fails when a step fails. PROGRAM_FILES is
#                               the folder below C: that the scanning program takes for
#                               Program Files: "Program Files" (default, a 64-bit program)
#                               or "Program Files (x86)" (a 32-bit one)
#   demo_profile_name           the Windows user name of the prefix's profile
#
# What is planted (user name U, drive C: = $WINEPREFIX/drive_c, Program Files as given):
#   adware   C:\Program Files\SearchProtect\bin      program folder, uninstall entry,
#                                                     all-users Start-menu folder and shortcut,
#                                                     HKCU Run value
#            C:\Program Files\Conduit\CT3289847       program folder, desktop shortcut,
#                                                     HKCU value naming its .exe, HKLM Run value
#            C:\users\U\AppData\Local\Wajam           profile folder, 32-bit uninstall entry,
#                                                     HKCU value named after its .exe,
#                                                     HKLM Run value in the 32-bit view
#            C:\Tuto4PC                               folder at the drive's root, public desktop shortcut
#            HKCU\Software\Classes\Applications\SearchProtect.exe   key named after an .exe
#            Chrome extension "Quick Deals Finder" updated from outside the store
#            Firefox add-on "Mindspark Toolbar Platform" with its .xpi, not from the add-ons site
#   decoys   C:\Program Files\Microsoft Office, C:\Program Files\Notepad++ (with its
#            uninstall entry, a Start-menu shortcut and a Run value), an installer file
#            named like adware in Downloads (files are never matched), HKCU\Software\Wajam's
#            "Version" value (no .exe), Chrome's "uBlock Origin" from the store and Firefox's
#            "uBlock Origin" from the add-ons site
#   loop     C:\users\U\Documents\Loop: a link back to the profile (a reparse point to Windows)

demo_profile_name() {
  local dir name
  for dir in "$WINEPREFIX/drive_c/users"/*/; do
    name=$(basename "$dir")
    [ "$name" = Public ] || { printf '%s\n' "$name"; return 0; }
  done
  echo "no user profile in $WINEPREFIX" >&2
  return 1
}

# Writes a file below drive_c, creating its folder: PATH-BELOW-C [TEXT]
demo_file() {
  local path=$WINEPREFIX/drive_c/$1
  mkdir -p "$(dirname "$path")" && printf '%s' "${2:-MZ}" >"$path"
}

demo_seed() {
  local pf=${1:-Program Files} user c=$WINEPREFIX/drive_c
  local pfr="C:\\\\${pf}"  # as written in .reg and script strings
  user=$(demo_profile_name) || return 1
  local profile="users/$user" local_app="users/$user/AppData/Local" roaming="users/$user/AppData/Roaming"

  # ---------------------------------------------------------------- folders
  demo_file "$pf/SearchProtect/bin/cltmngui.exe" &&
    demo_file "$pf/SearchProtect/bin/uninstall.exe" &&
    demo_file "$pf/SearchProtect/bin/SPtool.dll" &&
    demo_file "$pf/Conduit/CT3289847/ToolbarHelper.exe" &&
    demo_file "$pf/Conduit/CT3289847/SearchProtect/cltmng.exe" &&
    demo_file "$local_app/Wajam/WajamUpdater.exe" &&
    demo_file "$local_app/Wajam/uninstall.exe" &&
    demo_file "Tuto4PC/tuto4pc.exe" || return 1
  demo_file "$pf/Microsoft Office/root/Office16/WINWORD.EXE" &&
    demo_file "$pf/Notepad++/notepad++.exe" &&
    demo_file "$pf/Notepad++/updater/GUP.exe" &&
    demo_file "$profile/Downloads/babylon_toolbar_setup.exe" || return 1
  # A link that leads back up to the profile: a walk that follows it never ends.
  ln -sfn .. "$c/$profile/Documents/Loop" || return 1

  # --------------------------------------------------------------- add-ons
  local chrome="$local_app/Google/Chrome/User Data/Default/Extensions"
  demo_file "$chrome/kmhgpnpjcfbbncmfhjkbdfbajfgbfomf/2.1.0_0/manifest.json" '{
   "manifest_version": 2,
   "name": "Quick Deals Finder",
   "description": "Finds the best deals while you shop.",
   "update_url": "http://update.quickdeals-cdn.net/crx/update.xml",
   "version": "2.1.0"
}
' || return 1
  demo_file "$chrome/cjpalhdlnbpafiamejdnhcphjbkeiagm/1.55.0_0/manifest.json" '{
   "manifest_version": 2,
   "name": "uBlock Origin",
   "description": "Finally, an efficient blocker. Easy on CPU and memory.",
   "update_url": "https://clients2.google.com/service/update2/crx",
   "version": "1.55.0"
}
' || return 1
  local firefox="$roaming/Mozilla/Firefox/Profiles/q7x3k2ab.default-release"
  demo_file "$firefox/addons.json" '{"schema":6,"addons":[{"id":"{4b3f0a61-2c1e-4d8b-9a55-3fe1c8d2e7aa}","icons":{},"name":"Mindspark Toolbar Platform","version":"3.2.0","sourceURI":"http://download.mindspark-cdn.com/ff/toolbar.xpi","homepageURL":null,"type":"extension"},{"id":"uBlock0@raymondhill.net","icons":{},"name":"uBlock Origin","version":"1.55.0","sourceURI":"https://addons.mozilla.org/firefox/downloads/file/4216633/ublock_origin-1.55.0.xpi","homepageURL":"https://github.com/gorhill/uBlock","type":"extension"}]}' &&
    demo_file "$firefox/extensions/{4b3f0a61-2c1e-4d8b-9a55-3fe1c8d2e7aa}.xpi" PK &&
    demo_file "$firefox/extensions/uBlock0@raymondhill.net.xpi" PK || return 1

  # -------------------------------------------------------------- registry
  local wajam_dir="C:\\\\users\\\\$user\\\\AppData\\\\Local\\\\Wajam"
  cat >"$c/demo-seed-64.reg" <<REG || return 1
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Classes\\Applications\\SearchProtect.exe]
"FriendlyAppName"="Search Protect"

[HKEY_CURRENT_USER\\Software\\Conduit\\Toolbar]
"Helper"="$pfr\\\\Conduit\\\\CT3289847\\\\ToolbarHelper.exe"
"Version"="10.16.2.2"

[HKEY_CURRENT_USER\\Software\\Wajam]
"WajamUpdater.exe"="2.31"
"Version"="2.31"

[HKEY_CURRENT_USER\\Software\\Notepad++]
"InstallDir"="$pfr\\\\Notepad++"

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]
"Notepad++ Updater"="\\"$pfr\\\\Notepad++\\\\updater\\\\GUP.exe\\" -silent"
"Client Connect"="\\"$pfr\\\\SearchProtect\\\\bin\\\\cltmngui.exe\\" /startup"

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]
"Toolbar Helper"="$pfr\\\\Conduit\\\\CT3289847\\\\ToolbarHelper.exe"

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\SearchProtect]
"DisplayName"="Search Protect by Conduit"
"DisplayVersion"="2.16.30.88"
"Publisher"="Client Connect LTD"
"InstallLocation"="$pfr\\\\SearchProtect"
"UninstallString"="$pfr\\\\SearchProtect\\\\bin\\\\uninstall.exe"

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Notepad++]
"DisplayName"="Notepad++ (64-bit x64)"
"DisplayVersion"="8.6.2"
"Publisher"="Notepad++ Team"
"InstallLocation"="$pfr\\\\Notepad++"
"UninstallString"="$pfr\\\\Notepad++\\\\uninstall.exe"
REG
  cat >"$c/demo-seed-32.reg" <<REG || return 1
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]
"Wajam Updater"="$wajam_dir\\\\WajamUpdater.exe"

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Wajam]
"DisplayName"="Wajam"
"DisplayVersion"="2.31"
"Publisher"="Wajam Internet Technologies"
"InstallLocation"="$wajam_dir"
"UninstallString"="$wajam_dir\\\\uninstall.exe"
REG
  wine reg import 'C:\demo-seed-64.reg' /reg:64 </dev/null >/dev/null 2>&1 || { echo "reg import (64-bit view) failed" >&2; return 1; }
  wine reg import 'C:\demo-seed-32.reg' /reg:32 </dev/null >/dev/null 2>&1 || { echo "reg import (32-bit view) failed" >&2; return 1; }
  rm -f "$c/demo-seed-64.reg" "$c/demo-seed-32.reg"

  # ------------------------------------------------------------- shortcuts
  # Made by the shell (WScript.Shell over IShellLink), as an installer would.
  local start_menu="C:\\\\users\\\\$user\\\\AppData\\\\Roaming\\\\Microsoft\\\\Windows\\\\Start Menu\\\\Programs"
  mkdir -p "$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Search Protect" \
    "$c/$roaming/Microsoft/Windows/Start Menu/Programs" "$c/$profile/Desktop" "$c/users/Public/Desktop" || return 1
  cat >"$c/demo-seed-links.js" <<JS || return 1
var shell = WScript.CreateObject("WScript.Shell");
function link(path, target) {
  var shortcut = shell.CreateShortcut(path);
  shortcut.TargetPath = target;
  shortcut.Save();
}
link("C:\\\\ProgramData\\\\Microsoft\\\\Windows\\\\Start Menu\\\\Programs\\\\Search Protect\\\\Search Protect.lnk",
     "$pfr\\\\SearchProtect\\\\bin\\\\cltmngui.exe");
link("C:\\\\users\\\\$user\\\\Desktop\\\\Conduit Toolbar.lnk", "$pfr\\\\Conduit\\\\CT3289847\\\\ToolbarHelper.exe");
link("C:\\\\users\\\\Public\\\\Desktop\\\\Tuto4PC.lnk", "C:\\\\Tuto4PC\\\\tuto4pc.exe");
link("$start_menu\\\\Notepad++.lnk", "$pfr\\\\Notepad++\\\\notepad++.exe");
JS
  wine cscript //nologo 'C:\demo-seed-links.js' </dev/null >/dev/null 2>&1 || { echo "creating the shortcuts failed" >&2; return 1; }
  rm -f "$c/demo-seed-links.js"
}
