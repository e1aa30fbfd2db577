# Wine prefixes that stay inside a folder of ours. Source this file from bash.
#
# Wine links the profile's Desktop, Documents, Downloads, Music, Pictures,
# Videos and Templates folders to the Unix home when it creates a prefix. A
# scan walks the profile, so such a link would lead it into the real home. We
# therefore point HOME (and the XDG folders) into our own folder before the
# prefix exists, and then replace every link under drive_c with a real folder.
#
#   wine_env PREFIX HOME          exports WINEPREFIX, HOME, WINEDEBUG, ... for later wine calls
#   wine_env_vars PREFIX HOME     prints the same as NAME=VALUE lines (for env or a child process)
#   wine_prefix_prepare PREFIX HOME [--fresh]
#                                 creates the prefix unless a sound one is there (idempotent),
#                                 and leaves the environment of wine_env exported
#   wine_prefix_check PREFIX      fails when a link under drive_c leads out of the prefix
#   wine_prefix_stop PREFIX       waits for the prefix's wineserver to end (kills it after a while)
#   wine32_usable                 Wine's 32-bit part is installed and can run here
#   wine_select_loader            runs wine's 64-bit loader where the 32-bit one can't run (see below)
#
# Functions return non-zero on failure and print why on stderr; they never exit.

# Marker written once a prefix is complete: the wine it was made with.
WINE_PREFIX_MARKER=.veltrane-prefix

WINE_LOADER32=/usr/lib/wine/wine
WINE_LOADER64=/usr/lib/wine/wine64
# Where the stand-ins for wine's launcher go when the 32-bit loader can't run.
WINE_LOADER_SHIMS=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/wine64-only

# Wine's 32-bit part is installed and this machine can run it. Some machines
# can't run 32-bit Linux programs at all (the kernel or the virtual machine
# refuses them with "Exec format error").
wine32_usable() { [ -x "$WINE_LOADER32" ] && "$WINE_LOADER32" --version >/dev/null 2>&1; }

# Wine's launcher runs the 32-bit loader whenever it is installed, for 64-bit
# programs too, so where that loader can't run every wine call fails. There
# wine and wine-stable (which wineboot and the other tools call) are put
# ahead on PATH as small scripts that run the 64-bit loader: 64-bit programs
# run, 32-bit ones can't. Elsewhere this does nothing.
wine_select_loader() {
  [ -x "$WINE_LOADER32" ] && [ -x "$WINE_LOADER64" ] || return 0
  wine32_usable && return 0
  local name
  mkdir -p "$WINE_LOADER_SHIMS" || return 1
  for name in wine wine-stable; do
    printf '#!/bin/sh\n# The 32-bit loader cannot run on this machine: see scripts/lib/wine.sh.\nexport WINELOADER=%s\nexec %s "$@"\n' \
      "$WINE_LOADER64" "$WINE_LOADER64" >"$WINE_LOADER_SHIMS/$name" && chmod +x "$WINE_LOADER_SHIMS/$name" || return 1
  done
  case ":$PATH:" in
    *":$WINE_LOADER_SHIMS:"*) ;;
    *) export PATH="$WINE_LOADER_SHIMS:$PATH" ;;
  esac
}

# The wine version, and whether its 32-bit part could run: a prefix made
# without it cannot run 32-bit programs even after it is installed.
wine_stamp() {
  local stamp
  stamp=$(wine --version 2>/dev/null) || return 1
  wine32_usable && stamp+=" +wine32"
  printf '%s\n' "$stamp"
}

wine_env() {
  local prefix=$1 home=$2
  wine_select_loader || return 1
  mkdir -p "$home" || return 1
  prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")
  home=$(cd "$home" && pwd)
  export WINEPREFIX=$prefix
  export HOME=$home
  export XDG_CONFIG_HOME=$home/.config
  export XDG_DATA_HOME=$home/.local/share
  export XDG_CACHE_HOME=$home/.cache
  export XDG_DESKTOP_DIR=$home/Desktop
  export WINEDEBUG=${WINEDEBUG:--all}
  # Wine turns file names into bytes with the locale's charset: under a plain
  # "C" locale it cannot make a file with a non-ASCII name. One fixed UTF-8
  # locale also keeps dates and sorting the same on every machine.
  export LC_ALL=C.UTF-8
  # No Mono or Gecko install offers, no menu entries or file associations.
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=d;winemenubuilder.exe=d}
  export WINEARCH=${WINEARCH:-win64}
}

wine_env_vars() {
  (
    wine_env "$1" "$2" || exit 1
    local name
    for name in WINEPREFIX HOME XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_DESKTOP_DIR WINEDEBUG LC_ALL WINEDLLOVERRIDES WINEARCH; do
      printf '%s=%s\n' "$name" "${!name}"
    done
  )
}

# Prints every link under drive_c whose target lies outside the prefix.
wine_prefix_outside_links() {
  local prefix=$1 link target
  [ -d "$prefix/drive_c" ] || return 0
  while IFS= read -r -d '' link; do
    target=$(readlink -m -- "$link")
    case "$target" in
      "$prefix"/*) ;;
      *) printf '%s -> %s\n' "$link" "$target" ;;
    esac
  done < <(find "$prefix/drive_c" -type l -print0)
}

wine_prefix_check() {
  local prefix
  prefix=$(cd "$1" 2>/dev/null && pwd) || { echo "wine prefix $1 does not exist" >&2; return 1; }
  local outside
  outside=$(wine_prefix_outside_links "$prefix")
  if [ -n "$outside" ]; then
    echo "wine prefix $prefix has links leading out of it:" >&2
    printf '%s\n' "$outside" | sed 's/^/  /' >&2
    return 1
  fi
}

# Replaces every link under drive_c (the profile folders) with a real, empty folder.
wine_prefix_unlink_profile() {
  local prefix=$1 link
  while IFS= read -r -d '' link; do
    rm -f -- "$link" && mkdir -p -- "$link" || return 1
  done < <(find "$prefix/drive_c" -type l -print0)
}

wine_prefix_stop() {
  local prefix=$1
  [ -d "$prefix" ] || return 0
  command -v wineserver >/dev/null || return 0
  WINEPREFIX=$prefix timeout 60 wineserver -w 2>/dev/null && return 0
  WINEPREFIX=$prefix wineserver -k 2>/dev/null
  return 0
}

# Empties a work folder, makes a fresh prefix in WORK/wineprefix with its
# HOME in WORK/winehome, and sets the environment for it (wine_env).
wine_work_fresh() {
  local work=$1
  wine_prefix_stop "$work/wineprefix"
  rm -rf "$work" && mkdir -p "$work" || return 1
  wine_prefix_prepare "$work/wineprefix" "$work/winehome" --fresh || return 1
  wine_env "$work/wineprefix" "$work/winehome"
}

wine_prefix_is_ready() {
  local prefix=$1
  [ -f "$prefix/$WINE_PREFIX_MARKER" ] || return 1
  [ "$(cat "$prefix/$WINE_PREFIX_MARKER")" = "$(wine_stamp)" ] || return 1
  wine_prefix_check "$prefix" 2>/dev/null
}

wine_prefix_prepare() {
  local prefix=$1 home=$2 fresh=${3:-}
  command -v wine >/dev/null || { echo "wine is not installed" >&2; return 1; }
  mkdir -p "$(dirname "$prefix")" "$home" || return 1
  wine_env "$prefix" "$home" || return 1
  prefix=$WINEPREFIX

  # One creator at a time (a test run and a demo may start together).
  local lock=$prefix.lock
  exec {lockfd}>"$lock" || return 1
  flock "$lockfd" || { exec {lockfd}>&-; return 1; }

  local status=0
  if [ "$fresh" != --fresh ] && wine_prefix_is_ready "$prefix"; then
    :
  else
    wine_prefix_create_locked "$prefix" || status=1
  fi
  exec {lockfd}>&-
  return $status
}

wine_prefix_create_locked() {
  local prefix=$1 started=$SECONDS
  if [ -e "$prefix" ]; then
    wine_prefix_stop "$prefix"
    rm -rf -- "$prefix" || return 1
  fi
  echo "Creating wine prefix $prefix (HOME=$HOME)" >&2
  # The home folders the profile links would point to, so that even a link
  # left behind by a failed step stays inside our folder.
  mkdir -p "$HOME/Desktop" "$HOME/Documents" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" || return 1
  if ! wineboot --init </dev/null >"$prefix.log" 2>&1; then
    echo "wineboot --init failed; see $prefix.log" >&2
    return 1
  fi
  wine_prefix_stop "$prefix"
  wine_prefix_unlink_profile "$prefix" || return 1
  # Wine re-links the profile folders when it updates a prefix for a new
  # version; a prefix made by another wine is made anew instead.
  echo disable >"$prefix/.update-timestamp"
  wine_prefix_check "$prefix" || return 1
  wine_stamp >"$prefix/$WINE_PREFIX_MARKER"
  echo "Wine prefix ready in $((SECONDS - started)) s" >&2
}
