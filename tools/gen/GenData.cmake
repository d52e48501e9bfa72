# qv_generate_data(<sources-var> MANIFEST <file> NAME <stem>)
#
# Runs tools/gen/gen_data.py on a data manifest at build time and returns the
# generated <stem>.cpp and <stem>.h (in <binary dir>/generated, which callers
# add to their include path) in <sources-var>. Editing the manifest re-runs
# CMake so new inputs become dependencies; editing an input re-runs the tool.
function(qv_generate_data out_var)
  cmake_parse_arguments(G "" "MANIFEST;NAME" "" ${ARGN})
  if(NOT G_MANIFEST OR NOT G_NAME)
    message(FATAL_ERROR "qv_generate_data needs MANIFEST and NAME")
  endif()
  set(tool ${QV_GEN_DIR}/gen_data.py)
  execute_process(
    COMMAND ${Python3_EXECUTABLE} ${tool} --list-inputs ${G_MANIFEST}
    OUTPUT_VARIABLE inputs
    RESULT_VARIABLE rc
    ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "data manifest ${G_MANIFEST}: ${err}")
  endif()
  string(REPLACE "\n" ";" inputs "${inputs}")
  list(FILTER inputs EXCLUDE REGEX "^$")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${G_MANIFEST})

  set(outdir ${CMAKE_CURRENT_BINARY_DIR}/generated)
  add_custom_command(
    OUTPUT ${outdir}/${G_NAME}.cpp ${outdir}/${G_NAME}.h
    COMMAND ${Python3_EXECUTABLE} ${tool} --manifest ${G_MANIFEST} --name ${G_NAME} --out-dir ${outdir}
    DEPENDS ${G_MANIFEST} ${inputs} ${tool} ${QV_GEN_DIR}/qvdata.py
    COMMENT "Generating ${G_NAME} from ${G_MANIFEST}"
    VERBATIM)
  set(${out_var} ${outdir}/${G_NAME}.cpp ${outdir}/${G_NAME}.h PARENT_SCOPE)
endfunction()
