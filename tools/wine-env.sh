# Environment for every Windows program of the project: the project's own 32-bit prefix, the
# Russian locale (ANSI code page 1251, OEM 866) and quiet Wine.
KV_ROOT=${KV_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${KV_WINEPREFIX:-$KV_ROOT/build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko download prompts in a prefix without network.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Given to Wine programs only (see wine below): the shell and the build keep their own locale.
KV_WINE_LOCALE=ru_RU.UTF-8
wine() { env LC_ALL=$KV_WINE_LOCALE wine "$@"; }
wineserver() { env LC_ALL=$KV_WINE_LOCALE wineserver "$@"; }
KV_BIN=$KV_ROOT/build/win32/bin
