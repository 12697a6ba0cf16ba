# Sourced by the Wine wrapper and the scenario scripts: one 32-bit prefix and one Xvfb display per build tree.
# SETUP_WINE_ROOT names the folder that holds them (prefix/, home/, display, xvfb.pid, lock).
: "${SETUP_WINE_ROOT:?SETUP_WINE_ROOT must name the shared Wine folder}"
export WINEPREFIX="$SETUP_WINE_ROOT/prefix"
# SETUP_WINE_ARCH: win32 (the product's own build) or win64 (a 64-bit build, on machines whose kernel
# runs no 32-bit code, where the 32-bit Wine loader cannot start).
# Scripts that name only the build tree's Wine folder get the width from that tree's cache.
if [ -z "${SETUP_WINE_ARCH:-}" ] && [ -f "$SETUP_WINE_ROOT/../CMakeCache.txt" ]; then
  SETUP_WINE_ARCH=$(sed -n 's/^SETUP_WINE_ARCH:INTERNAL=//p' "$SETUP_WINE_ROOT/../CMakeCache.txt")
fi
export WINEARCH="${SETUP_WINE_ARCH:-win32}"
if [ "$WINEARCH" = win64 ]; then
  # /usr/bin/wine prefers the 32-bit loader whenever it is installed: name the 64-bit one, also for
  # the tools (wineboot, ...) that call `wine-stable` by name.
  mkdir -p "$SETUP_WINE_ROOT/bin"
  for name in wine wine-stable; do
    [ -x "$SETUP_WINE_ROOT/bin/$name" ] ||
      printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$SETUP_WINE_ROOT/bin/$name"
    chmod +x "$SETUP_WINE_ROOT/bin/$name"
  done
  # A 64-bit launcher reads the 64-bit registry view, where only x64 packages register themselves.
  [ -x "$SETUP_WINE_ROOT/bin/wixl" ] ||
    printf '#!/bin/sh\nexec /usr/bin/wixl -a x64 "$@"\n' >"$SETUP_WINE_ROOT/bin/wixl"
  chmod +x "$SETUP_WINE_ROOT/bin/wixl"
  case ":$PATH:" in *":$SETUP_WINE_ROOT/bin:"*) ;; *) export PATH="$SETUP_WINE_ROOT/bin:$PATH" ;; esac
  export WINELOADER=/usr/lib/wine/wine64
fi
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers: a fresh prefix must come up without asking or downloading.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Wine links Desktop, Documents, ... to $HOME: keep them inside the build tree.
export HOME="$SETUP_WINE_ROOT/home"
unset WINESERVER

wine_reg_add() { wine reg add "$@" /f >/dev/null 2>&1 9>&-; }

# Creates the prefix once (under a lock, so parallel first calls wait for one another).
ensure_wine_prefix() {
  mkdir -p "$SETUP_WINE_ROOT" "$HOME"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.ready" ]; then
      rm -rf "$WINEPREFIX"
      # The lock's descriptor must not leak into wineserver or Xvfb, which outlive this call.
      wineboot -i >/dev/null 2>&1 9>&-
      wineserver -w 9>&-
      # Unmanaged X11 windows: without a window manager, managed dialogs end about 2 s late.
      wine_reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
      wineserver -w 9>&-
      touch "$WINEPREFIX/.ready"
    fi
  ) 9>"$SETUP_WINE_ROOT/lock"
}

# Starts Xvfb once and exports DISPLAY.
ensure_display() {
  (
    flock 9
    if [ -f "$SETUP_WINE_ROOT/xvfb.pid" ] && kill -0 "$(cat "$SETUP_WINE_ROOT/xvfb.pid")" 2>/dev/null; then
      exit 0
    fi
    rm -f "$SETUP_WINE_ROOT/display"
    setsid Xvfb -displayfd 8 -screen 0 1024x768x24 -nolisten tcp 8>"$SETUP_WINE_ROOT/display.tmp" \
      </dev/null >/dev/null 2>&1 9>&- &
    echo $! >"$SETUP_WINE_ROOT/xvfb.pid"
    for _ in $(seq 100); do
      [ -s "$SETUP_WINE_ROOT/display.tmp" ] && break
      sleep 0.05
    done
    mv "$SETUP_WINE_ROOT/display.tmp" "$SETUP_WINE_ROOT/display"
  ) 9>"$SETUP_WINE_ROOT/lock.display"
  export DISPLAY=":$(tr -d '\n' <"$SETUP_WINE_ROOT/display")"
}

# Moves this shell to a private copy of the prefix (own wineserver, own HOME under private_root),
# removed when the shell exits: for runs that may restart Windows or replace system programs.
# The shared server writes the registry files lazily: it is ended first (which writes them, and no
# other Wine test runs meanwhile), so that the copy does not show an install an earlier test undid.
use_private_wine_prefix() {
  private_root=$(mktemp -d "/tmp/${1:-private}-prefix.XXXXXX")
  trap 'WINEPREFIX="$private_root/prefix" wineserver -k 2>/dev/null || true; rm -rf "$private_root"' EXIT
  wineserver -k 2>/dev/null || true
  cp -a "$WINEPREFIX" "$private_root/prefix"
  wineserver -p </dev/null >/dev/null 2>&1 || true
  export WINEPREFIX="$private_root/prefix" HOME="$private_root/home"
  mkdir -p "$HOME"
}

stop_wine_session() {
  wineserver -k 2>/dev/null || true
  if [ -f "$SETUP_WINE_ROOT/xvfb.pid" ]; then
    kill "$(cat "$SETUP_WINE_ROOT/xvfb.pid")" 2>/dev/null || true
    rm -f "$SETUP_WINE_ROOT/xvfb.pid" "$SETUP_WINE_ROOT/display"
  fi
}

# Windows path of a Linux path inside the prefix's drive_c, or through Wine's Z: drive.
winpath() {
  local p; p=$(readlink -f "$1")
  case "$p" in
    "$WINEPREFIX/drive_c/"*) p="C:\\${p#"$WINEPREFIX/drive_c/"}" ;;
    *) p="Z:$p" ;;
  esac
  printf '%s' "${p//\//\\}"
}
