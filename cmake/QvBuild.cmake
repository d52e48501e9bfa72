# Common settings for every target of the product and its tests.

# Sources are UTF-8; the Japanese texts end up as Shift-JIS in the binaries.
add_compile_options(
  -finput-charset=UTF-8
  $<$<COMPILE_LANGUAGE:C,CXX>:-fexec-charset=CP932>
  $<$<COMPILE_LANGUAGE:C,CXX>:-Wall>
  $<$<COMPILE_LANGUAGE:C,CXX>:-Wno-unknown-pragmas>)
# The 32-bit build does its float and double arithmetic in SSE registers, as
# the 64-bit one does: the same rounding on both (the x87 unit would carry
# extra precision between steps, or only single precision for doubles once
# Direct3D has set its control word while a device lives). The processor
# must have SSE2. Windows and Wine call window procedures, plug-in entry
# points and thread entries with the stack aligned to 4 bytes only, and SSE
# spills need 16: every function that needs more realigns the stack itself
# (asked for by name, whatever the compiler's default; tests/tools checks it).
set(QV_I686_COMPILE_OPTIONS -msse2 -mfpmath=sse -mstackrealign)
if(QV_ARCH STREQUAL "i686")
  add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:${QV_I686_COMPILE_OPTIONS}>")
endif()
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
# windres: resources are UTF-8 too (each .rc starts with #pragma code_page(65001)).
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

# No MinGW runtime DLLs next to the binaries.
add_link_options(-static -static-libgcc -static-libstdc++)

# The distributable folder, laid out as the program expects (it never makes
# "capture", where the screenshot key writes).
set(QV_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
file(MAKE_DIRECTORY ${QV_DIST_DIR} ${QV_DIST_DIR}/ai ${QV_DIST_DIR}/model ${QV_DIST_DIR}/capture)

# Every test program lands here; tests/ adds them to CTest.
set(QV_TEST_BIN_DIR ${CMAKE_BINARY_DIR}/tests/bin)

# Deliverable executable or plug-in: put it in dist/<subdir>.
function(qv_dist_target target subdir)
  set(out ${QV_DIST_DIR})
  if(subdir)
    set(out ${QV_DIST_DIR}/${subdir})
  endif()
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${out}
    LIBRARY_OUTPUT_DIRECTORY ${out})
endfunction()

# A static zlib from libz-mingw-w64-dev.
find_library(QV_ZLIB NAMES libz.a z REQUIRED)
add_library(qv_zlib INTERFACE)
target_link_libraries(qv_zlib INTERFACE ${QV_ZLIB})

# qv_add_plugin(target EXTENSION qva SUBDIR ai SOURCES ... [DEF file] [LIBS ...])
# A plug-in DLL named <target>.<extension> in dist/<subdir>. Plug-ins link
# statically and import nothing from the program.
function(qv_add_plugin target)
  cmake_parse_arguments(P "" "EXTENSION;SUBDIR;DEF" "SOURCES;LIBS" ${ARGN})
  add_library(${target} SHARED ${P_SOURCES} ${P_DEF})
  set_target_properties(${target} PROPERTIES PREFIX "" SUFFIX ".${P_EXTENSION}")
  if(P_LIBS)
    target_link_libraries(${target} PRIVATE ${P_LIBS})
  endif()
  qv_dist_target(${target} ${P_SUBDIR})
endfunction()

# Build-time data generators are small Python 3 programs in tools/gen.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(QV_GEN_DIR ${CMAKE_SOURCE_DIR}/tools/gen)
