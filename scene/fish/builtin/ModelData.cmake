# qv_model_data(<name> <out-var>): generates the meshes, parts and textures
# described by data/models/<name>.json into gen/model_<name>.cpp and .h of
# the current binary folder; <out-var> receives the generated source.
function(qv_model_data name out_var)
  set(cfg ${CMAKE_SOURCE_DIR}/data/models/${name}.json)
  set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/gen)
  set(cpp ${out_dir}/model_${name}.cpp)
  set(h ${out_dir}/model_${name}.h)
  add_custom_command(
    OUTPUT ${cpp} ${h}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    COMMAND ${Python3_EXECUTABLE} ${QV_GEN_DIR}/model_gen.py ${cfg} ${cpp} ${h}
    DEPENDS ${cfg}
            ${QV_GEN_DIR}/model_gen.py ${QV_GEN_DIR}/fishmesh.py ${QV_GEN_DIR}/skins.py
            ${QV_GEN_DIR}/dxt.py ${QV_GEN_DIR}/qvdata.py
    COMMENT "Generating species data ${name}"
    VERBATIM)
  set(${out_var} ${cpp} PARENT_SCOPE)
endfunction()
