# qv_species_plugin(<target> <extension> <source>): a species plug-in
# dist/model/<target>.<extension> from data/models/<target, lower case>.json
# and a source that defines SpeciesRecord(). Every species plug-in exports
# GetFishData under the same decorated name (Model.def, ModelExport.cpp).
include(${CMAKE_SOURCE_DIR}/scene/fish/builtin/ModelData.cmake)

function(qv_species_plugin target extension source)
  string(TOLOWER ${target} data)
  qv_model_data(${data} data_cpp)
  set(dir ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  qv_add_plugin(${target} EXTENSION ${extension} SUBDIR model
    SOURCES ${source} ${dir}/ModelExport.cpp ${data_cpp}
    DEF ${dir}/Model.def)
  target_include_directories(${target} PRIVATE ${dir} ${CMAKE_CURRENT_BINARY_DIR}/gen)
  target_link_libraries(${target} PRIVATE qv_plugin_abi)
endfunction()
