# Cross build for 64-bit Windows. Used only to run the test suite natively
# under 64-bit Wine on machines whose kernel cannot execute 32-bit programs.
set(QV_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
