# Cross build for 32-bit Windows (the product's target) with MinGW-w64.
set(QV_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
