# The glyph atlas of the screen text panels, drawn at build time from the
# Terminus bitmap font (Debian package xfonts-terminus, SIL Open Font
# License 1.1) by tools/gen/glyph_atlas.py.
#
# Include once after qv_engine exists (from engine/CMakeLists.txt); defines
# the static library qv_glyph_atlas and links it into qv_engine.
if(TARGET qv_glyph_atlas)
  return()
endif()

set(QV_GLYPH_FONT /usr/share/fonts/X11/misc/ter-u32b_iso-8859-1.pcf.gz
    CACHE FILEPATH "PCF font the glyph atlas is drawn from")
if(NOT EXISTS ${QV_GLYPH_FONT})
  message(FATAL_ERROR "Glyph atlas font ${QV_GLYPH_FONT} not found: install the Debian package xfonts-terminus")
endif()

set(qv_glyph_atlas_cpp ${CMAKE_BINARY_DIR}/generated/engine/GlyphAtlasData.cpp)
add_custom_command(
  OUTPUT ${qv_glyph_atlas_cpp}
  COMMAND ${Python3_EXECUTABLE} ${QV_GEN_DIR}/glyph_atlas.py ${QV_GLYPH_FONT} ${qv_glyph_atlas_cpp}
  DEPENDS ${QV_GEN_DIR}/glyph_atlas.py ${QV_GEN_DIR}/qvdata.py ${QV_GLYPH_FONT}
  COMMENT "Drawing the glyph atlas"
  VERBATIM)
add_library(qv_glyph_atlas STATIC ${qv_glyph_atlas_cpp})
target_include_directories(qv_glyph_atlas PUBLIC ${CMAKE_CURRENT_LIST_DIR})
if(TARGET qv_engine)
  target_link_libraries(qv_engine PUBLIC qv_glyph_atlas)
endif()

# The font's licence travels with the glyphs drawn from it.
if(EXISTS /usr/share/doc/xfonts-terminus/copyright)
  configure_file(/usr/share/doc/xfonts-terminus/copyright
                 ${QV_DIST_DIR}/licenses/terminus-font.txt COPYONLY)
endif()
