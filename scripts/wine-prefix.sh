#!/usr/bin/env bash
# Prepares a private Wine prefix for QLT: a virtual desktop with its shell (taskbar and
# notification area; without a desktop every hide of a window waits ~2 s for a window manager
# that never answers) and Chinese font replacements so the captions show.
# Usage: wine-prefix.sh PREFIX_DIR      (idempotent: a prepared prefix is reused)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
prefix="$1"
stamp="$prefix/.qlt-prepared-v2"
[ -f "$stamp" ] && exit 0

export WINEPREFIX="$prefix"
mkdir -p "$prefix"
# wineboot needs no display, but some first-run steps try one; keep them off any real display.
DISPLAY= wineboot -i >/dev/null 2>&1 || true
# Wine draws the glyphs of caption buttons, scroll arrows and check marks with Marlett; this Wine
# does not find its own fonts folder, so the font goes where every Windows program finds it. Only
# Marlett: Wine's own Tahoma there would win over the Chinese replacement below.
if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
  mkdir -p "$prefix/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
fi

reg="$prefix/qlt-settings.reg"
# A .reg file with non-ASCII names must be UTF-16 LE with a BOM.
{
  printf '\xff\xfe'
  iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="shell"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"shell"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"SimSun"="WenQuanYi Micro Hei"
"宋体"="WenQuanYi Micro Hei"
"Tahoma"="WenQuanYi Micro Hei"
"MS Shell Dlg"="WenQuanYi Micro Hei"
"MS Shell Dlg 2"="WenQuanYi Micro Hei"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Control Panel\Desktop]
"ForegroundLockTimeout"=dword:00000000
REG
} | sed 's/\x0a\x00/\x0d\x00\x0a\x00/g' > "$reg"
DISPLAY= wine regedit /S "$reg" >/dev/null 2>&1
# The server writes the registry to disk only when it exits: wait for that before anything can kill it.
wineserver -w
touch "$stamp"
