# Cross build for 64-bit Windows (PE32+) from the same sources. SSE2 and a
# 16-byte aligned stack are part of the x64 calling convention, and the
# address space is large anyway: no architecture options.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TESSAFOLD_MINGW_TRIPLE x86_64-w64-mingw32)
set(TESSAFOLD_ARCH_COMPILE_OPTIONS)
set(TESSAFOLD_ARCH_LINK_OPTIONS)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
