# The three presets: full sets of qelvar.ini [system] and the configuration
# files, kept UTF-8 here and written as Shift-JIS with CR LF line ends into
# the distributable folder's preset\1 .. preset\3. The program folder gets
# the standard preset's configuration files as its defaults.
#
#   include(${CMAKE_SOURCE_DIR}/data/presets/Presets.cmake)
#   qv_add_presets(<target>)    # <target> then depends on the preset files
set(QV_PRESET_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(QV_PRESET_FILES
  qelvar.ini FlockConfig.ini CameraConfig.ini CoralConfig.ini StructureConfig.ini)

function(qv_add_presets target)
  if(NOT TARGET qv_presets)
    set(relative)
    set(inputs)
    set(outputs)
    foreach(n 1 2 3)
      foreach(file IN LISTS QV_PRESET_FILES)
        list(APPEND relative ${n}/${file})
        list(APPEND inputs ${QV_PRESET_SOURCE_DIR}/${n}/${file})
        list(APPEND outputs ${QV_DIST_DIR}/preset/${n}/${file})
      endforeach()
    endforeach()
    add_custom_command(
      OUTPUT ${outputs}
      COMMAND ${Python3_EXECUTABLE} ${QV_GEN_DIR}/presetfiles.py
              ${QV_PRESET_SOURCE_DIR} ${QV_DIST_DIR}/preset ${relative}
      DEPENDS ${inputs} ${QV_GEN_DIR}/presetfiles.py ${QV_GEN_DIR}/qvdata.py
      COMMENT "Preset files (Shift-JIS) into dist/preset"
      VERBATIM)
    set(defaults)
    set(default_inputs)
    foreach(file FlockConfig.ini CameraConfig.ini CoralConfig.ini StructureConfig.ini)
      list(APPEND defaults ${QV_DIST_DIR}/${file})
      list(APPEND default_inputs ${QV_PRESET_SOURCE_DIR}/2/${file})
    endforeach()
    add_custom_command(
      OUTPUT ${defaults}
      COMMAND ${Python3_EXECUTABLE} ${QV_GEN_DIR}/presetfiles.py
              ${QV_PRESET_SOURCE_DIR}/2 ${QV_DIST_DIR}
              FlockConfig.ini CameraConfig.ini CoralConfig.ini StructureConfig.ini
      DEPENDS ${default_inputs} ${QV_GEN_DIR}/presetfiles.py ${QV_GEN_DIR}/qvdata.py
      COMMENT "Default configuration files (Shift-JIS) into dist"
      VERBATIM)
    add_custom_target(qv_presets ALL DEPENDS ${outputs} ${defaults})
  endif()
  add_dependencies(${target} qv_presets)
endfunction()
