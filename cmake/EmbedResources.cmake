# zefa_embed_resources(OUTPUTS FOLDER FILE:NAME...): for each FILE of FOLDER, a
# generated C++ source that holds its bytes as the std::string_view zefa::NAME
# (EmbedFile.cmake); OUTPUTS lists them, to be added to a library's sources.
function(zefa_embed_resources outputs folder)
  set(sources)
  foreach(resource ${ARGN})
    string(REPLACE ":" ";" parts ${resource})
    list(GET parts 0 file)
    list(GET parts 1 name)
    set(input ${folder}/${file})
    set(output ${CMAKE_CURRENT_BINARY_DIR}/embedded/${name}.cpp)
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DNAME=${name}
              -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake
      DEPENDS ${input} ${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake)
    list(APPEND sources ${output})
  endforeach()
  set(${outputs} ${sources} PARENT_SCOPE)
endfunction()
