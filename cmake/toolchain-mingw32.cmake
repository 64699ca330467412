# 32-bit Windows (i686): the product that today's host application loads.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KV_MINGW_TRIPLE i686-w64-mingw32)
set(KV_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
