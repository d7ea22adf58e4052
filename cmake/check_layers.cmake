# Fails when a source file includes a header of a folder above its own in the layer order.
# Folders of one rank may not include each other; a folder may always include itself.
# Run as: cmake -DSOURCE_DIR=<src> -P check_layers.cmake
set(ranks
  model 0   engine 1   drawing 2   editor 3
  help 4    dialogs 5  results 6   meters 7   printing 8
  app 9     cli 9)
function(rank_of folder out)
  list(FIND ranks ${folder} i)
  if(i LESS 0)
    set(${out} -1 PARENT_SCOPE)
  else()
    math(EXPR j "${i} + 1")
    list(GET ranks ${j} r)
    set(${out} ${r} PARENT_SCOPE)
  endif()
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(faults "")
foreach(path IN LISTS sources)
  string(REGEX MATCH "^[^/]+" folder "${path}")
  rank_of(${folder} own)
  if(own LESS 0)
    string(APPEND faults "\n  ${path}: folder '${folder}' has no place in the layer order")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${path} lines REGEX "^#include \"[a-z_]+/")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" target "${line}")
    if(target STREQUAL folder)
      continue()
    endif()
    rank_of(${target} theirs)
    if(theirs LESS 0 OR NOT theirs LESS own)
      string(APPEND faults "\n  ${path}: ${line}")
    endif()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "Includes against the layer order (model, engine, drawing, editor, help, "
                      "dialogs, results, meters, printing, app/cli):${faults}")
endif()
