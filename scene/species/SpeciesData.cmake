# qv_species_data(<name> <out-var>): generates the meshes, parts and textures
# described by data/species/<name>.json into gen/species_<name>.cpp and .h of
# the current binary folder; <out-var> receives the generated source.
function(qv_species_data name out_var)
  set(cfg ${CMAKE_SOURCE_DIR}/data/species/${name}.json)
  set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/gen)
  set(cpp ${out_dir}/species_${name}.cpp)
  set(h ${out_dir}/species_${name}.h)
  add_custom_command(
    OUTPUT ${cpp} ${h}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    COMMAND ${Python3_EXECUTABLE} ${QV_GEN_DIR}/species_gen.py ${cfg} ${cpp} ${h}
    DEPENDS ${cfg}
            ${QV_GEN_DIR}/species_gen.py ${QV_GEN_DIR}/fishmesh.py ${QV_GEN_DIR}/skins.py
            ${QV_GEN_DIR}/dxt.py ${QV_GEN_DIR}/qvdata.py
    COMMENT "Generating species data ${name}"
    VERBATIM)
  set(${out_var} ${cpp} PARENT_SCOPE)
endfunction()
