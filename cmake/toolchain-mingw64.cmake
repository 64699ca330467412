# 64-bit Windows (x86_64): the same sources as a second deliverable for 64-bit hosts.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KV_MINGW_TRIPLE x86_64-w64-mingw32)
set(KV_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
