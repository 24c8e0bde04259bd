# Cross build for 32-bit Windows (PE32), the main product: it runs on 32- and
# 64-bit Windows.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TESSAFOLD_MINGW_TRIPLE i686-w64-mingw32)
# Windows enters thread and window procedures with a 4-byte aligned stack;
# SSE spills need 16, so every function realigns its own frame.
set(TESSAFOLD_ARCH_COMPILE_OPTIONS -msse2 -mstackrealign)
# The full 4 GiB address space on 64-bit Windows, so files near the 2 GiB
# buffer limit fit.
set(TESSAFOLD_ARCH_LINK_OPTIONS -Wl,--large-address-aware)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
