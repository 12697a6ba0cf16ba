#!/usr/bin/env bash
# CTest fixture: `start` brings up the prefix, the display and a persistent wineserver; `stop` ends them.
set -eu
. "$(dirname "$0")/wine-env.sh"
case "${1:-}" in
  start)
    ensure_wine_prefix
    ensure_display
    wineserver -p </dev/null >/dev/null 2>&1 || true   # a server may already run (persistent)
    wine cmd /c exit 0 >/dev/null 2>&1 || true   # warm-up: later runs start in well under a second
    echo "Wine prefix $WINEPREFIX ready on display $DISPLAY"
    ;;
  stop)
    stop_wine_session
    ;;
  *) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
