#!/usr/bin/env bash
# Takes the pictures of the README: Setup.EXE under Wine's virtual desktop on Xvfb, captured with
# ImageMagick and cropped to one window each, as docs/*.png. The progress dialog in English and in
# Japanese (waiting for the engine download to answer), its progress bar during that download (a
# local server hands out a stand-in redistributable in steps), and a question box.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
extra=()
command -v import >/dev/null 2>&1 || extra+=(imagemagick)
command -v xwininfo >/dev/null 2>&1 || extra+=(x11-utils)
# Japanese text needs a font with its glyphs; Wine finds it through fontconfig.
fc-list :lang=ja 2>/dev/null | grep -q . || extra+=(fontconfig fonts-ipafont-gothic)
# Wine's own fonts: Marlett draws the caption buttons.
[ -e /usr/share/wine/fonts/marlett.ttf ] || extra+=(fonts-wine)
if [ ${#extra[@]} -gt 0 ]; then
  SUDO=; [ "$(id -u)" = 0 ] || SUDO=sudo
  echo "== installing: ${extra[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${extra[@]}"
fi

preset=$(bash scripts/windows-preset.sh)
build="build/$preset"
echo "== building Setup.EXE and its helpers ($preset)"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Setup runexe winwatch stand_in_redistributable -j2 >/dev/null
export SETUP_WINE_ROOT="$PWD/$build/screenshots"
[ "$preset" = win32 ] || export SETUP_WINE_ARCH=win64
. tests/harness/wine-env.sh
ensure_wine_prefix
ensure_display
work=$(mktemp -d /tmp/screenshots.XXXXXX)
server=
cleanup() {
  [ -z "$server" ] || kill "$server" 2>/dev/null || true
  wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ExampleTool' /f >/dev/null 2>&1 || true
  stop_wine_session
  rm -rf "$work"
}
trap cleanup EXIT
# Wine's virtual desktop draws captions and frames: there is no window manager on Xvfb.
wine_reg_add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
wine_reg_add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 640x480
# This Wine does not find the fonts of its own data folder: give the prefix the one it draws with.
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
wineserver -k 2>/dev/null || true

folder="$WINEPREFIX/drive_c/shots"
rm -rf "$folder" && mkdir -p "$folder" docs
cp "$build/src/app/Setup.exe" "$folder/Setup.exe"
winwatch() { wine "$build/tests/harness/winwatch.exe" "$@" 2>/dev/null | tr -d '\r'; }

# shoot NAME SELECTOR...: waits for the window, lets it paint, and saves it as docs/NAME.png.
shoot() {
  local name=$1 rect x y w h desk dx dy
  shift
  rect=$(winwatch "$@" --timeout 30000 --rect | sed -n 's/^rect: //p')
  [ -n "$rect" ] || { echo "no window for $name" >&2; return 1; }
  read -r x y w h <<<"$rect"
  # The desktop is one X window; Windows screen coordinates are relative to it.
  desk=$(xwininfo -root -tree | grep 'Wine desktop' | head -1 | grep -o '+-\?[0-9]*+-\?[0-9]*$')
  dx=${desk#+}; dx=${dx%%+*}; dy=${desk##*+}
  sleep 1
  import -display "$DISPLAY" -window root -crop "${w}x${h}+$((x + dx))+$((y + dy))" +repage -strip \
    "PNG8:docs/$name.png"
  echo "   docs/$name.png (${w}x${h}, $(($(stat -c %s "docs/$name.png") / 1024)) KB)"
}

# start LOCALE: Setup.EXE in the background, with the user locale LOCALE.
start() {
  LC_ALL=$1 wine "$build/tests/harness/runexe.exe" --timeout 120000 'C:\shots\Setup.exe' >/dev/null 2>&1 &
  setup=$!
}

# The engine is "too old" (MsiVersion 99) and no redistributable lies beside Setup.EXE, so setup
# downloads it from the local server; the download is held before its headers, then at 40 %.
cp "$build/tests/win32/steps/bootstrap/stand_in_redistributable.exe" "$work/instmsiw.exe"
python3 scripts/screenshot_server.py "$work/instmsiw.exe" "$work" >"$work/port" &
server=$!
for _ in $(seq 50); do grep -q PORT "$work/port" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/^PORT //p' "$work/port")
printf '[ProductInformation]\r\nPackageName=Product.msi\r\nMsiVersion=99.0\r\nNTMsiInstaller=http://127.0.0.1:%s/instmsiw.exe\r\n\r\n[ProductFeatures]\r\n' \
  "$port" >"$folder/SETUP.INI"
for lang in en ja; do
  [ $lang = en ] && locale=C || locale=ja_JP.UTF-8
  echo "== progress dialog ($lang)"
  rm -f "$work/release"
  touch "$work/hold"
  start $locale
  shoot "progress-$lang" --class '#32770'
  rm -f "$work/hold"
  if [ $lang = en ]; then
    echo "== progress bar during the engine download"
    sleep 2
    shoot download-en --class '#32770'
  fi
  touch "$work/release"
  wait "$setup" || true
done

echo "== question box"
cat >"$folder/SETUP.INI" <<'EOF'
[ProductInformation]
PackageName=Product.msi

[ProductFeatures]

[IncompatibleAppUninstall]
ExampleTool
EOF
wine_reg_add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ExampleTool' /v DisplayName /d 'Example Tool 2.1'
wine_reg_add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ExampleTool' /v UninstallString /d 'C:\shots\none.exe'
start C
shoot question-en --caption Warning
winwatch --caption Warning --press no >/dev/null
wait "$setup" || true
echo "== done: docs/*.png"
