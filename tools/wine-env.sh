# Environment for every Windows program of the project: the project's own prefix of one
# architecture, the Russian locale (ANSI code page 1251, OEM 866) and quiet Wine.
#
# KV_ARCH chooses the architecture: win32 (the product) or win64. Each has its own build folder
# (build/win32, build/win64) and its own prefix (build/wineprefix-win32, build/wineprefix-win64).
KV_ROOT=${KV_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
# KV_BUILD names the build folder (default build/): a second work area, such as a developer
# running two builds at once, gets its own binaries and its own prefixes.
KV_BUILD=${KV_BUILD:-$KV_ROOT/build}
case $KV_BUILD in /*) ;; *) KV_BUILD=$KV_ROOT/$KV_BUILD ;; esac
export KV_BUILD
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko download prompts in a prefix without network.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Given to Wine programs only (see wine below): the shell and the build keep their own locale.
KV_WINE_LOCALE=ru_RU.UTF-8

# The loader of each architecture. Debian's /usr/bin/wine picks the 32-bit loader whenever it is
# installed, even for a 64-bit program, so each loader is called directly.
kv_wine_loader() {
    case $1 in
        win32) echo /usr/lib/wine/wine ;;
        win64) echo /usr/lib/wine/wine64 ;;
    esac
}

# Points the environment at one architecture's prefix, loader and binaries.
kv_use_arch() {
    case $1 in
        win32|win64) ;;
        *) echo "unknown architecture '$1' (win32 or win64)" >&2; return 2 ;;
    esac
    export KV_ARCH=$1
    export WINEARCH=$1
    export WINEPREFIX=$KV_BUILD/wineprefix-$1
    KV_WINE_LOADER=$(kv_wine_loader "$1")
    export WINELOADER=$KV_WINE_LOADER
    KV_BIN=$KV_BUILD/$1/bin
}

wine() { env LC_ALL=$KV_WINE_LOCALE "$KV_WINE_LOADER" "$@"; }
# One server binary serves prefixes of both architectures.
wineserver() { env LC_ALL=$KV_WINE_LOCALE /usr/lib/wine/wineserver "$@"; }
winepath() { wine winepath.exe "$@"; }

kv_use_arch "${KV_ARCH:-win32}"
