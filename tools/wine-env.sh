# Environment for every Windows program of the project: the project's own 32-bit prefix, the
# Russian locale (ANSI code page 1251, OEM 866) and quiet Wine.
KV_ROOT=${KV_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
# KV_BUILD names the build folder (default build/): a second work area, such as a developer
# running two builds at once, gets its own binaries and its own prefix.
KV_BUILD=${KV_BUILD:-$KV_ROOT/build}
case $KV_BUILD in /*) ;; *) KV_BUILD=$KV_ROOT/$KV_BUILD ;; esac
export KV_BUILD
export WINEPREFIX=$KV_BUILD/wineprefix
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko download prompts in a prefix without network.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Given to Wine programs only (see wine below): the shell and the build keep their own locale.
KV_WINE_LOCALE=ru_RU.UTF-8
wine() { env LC_ALL=$KV_WINE_LOCALE wine "$@"; }
wineserver() { env LC_ALL=$KV_WINE_LOCALE wineserver "$@"; }
KV_BIN=$KV_BUILD/win32/bin
