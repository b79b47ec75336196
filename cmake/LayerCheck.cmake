# Checks that every source under a source folder includes only its own
# folder's headers and those of the layers below it; a violation fails with
# the file and the include that breaks the order.
#
# mj_check_layers(<src dir> LAYERS "<folders of layer 0>" "<folders of layer 1>" ...
#                 [UPWARD_ALLOWED <header>...] [FORBID <folder> <forbidden folder>...])
# Folders of one layer may include each other. UPWARD_ALLOWED headers may be
# included from any layer above table. FORBID pairs bar one folder from one
# other folder of its own layer.
cmake_policy(VERSION 3.25)

function(mj_check_layers src_dir)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "LAYERS;UPWARD_ALLOWED;FORBID")
  set(rank 0)
  foreach(layer IN LISTS arg_LAYERS)
    string(REPLACE " " ";" folders "${layer}")
    foreach(folder IN LISTS folders)
      set(_rank_${folder} ${rank})
    endforeach()
    math(EXPR rank "${rank} + 1")
  endforeach()
  set(_forbid "")
  list(LENGTH arg_FORBID n)
  set(i 0)
  while(i LESS n)
    math(EXPR j "${i} + 1")
    list(GET arg_FORBID ${i} a)
    list(GET arg_FORBID ${j} b)
    list(APPEND _forbid "${a}>${b}")
    math(EXPR i "${i} + 2")
  endwhile()

  file(GLOB_RECURSE files "${src_dir}/*.h" "${src_dir}/*.cpp")
  set(errors "")
  foreach(file IN LISTS files)
    file(RELATIVE_PATH rel "${src_dir}" "${file}")
    string(REGEX MATCH "^[a-z_]+" folder "${rel}")
    if(NOT DEFINED _rank_${folder})
      list(APPEND errors "${rel}: folder '${folder}' has no layer")
      continue()
    endif()
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z_]+/")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
      string(REGEX MATCH "^[a-z_]+" target "${header}")
      if(NOT DEFINED _rank_${target})
        continue()
      endif()
      if("${folder}>${target}" IN_LIST _forbid)
        list(APPEND errors "${rel}: ${folder}/ must not include ${header}")
      elseif(_rank_${target} GREATER _rank_${folder})
        if(NOT header IN_LIST arg_UPWARD_ALLOWED OR _rank_${folder} LESS_EQUAL _rank_table)
          list(APPEND errors "${rel}: includes ${header} from a layer above")
        endif()
      endif()
    endforeach()
  endforeach()
  if(errors)
    list(JOIN errors "\n  " text)
    message(FATAL_ERROR "Layer order broken:\n  ${text}")
  endif()
endfunction()

# The program's own layer order, bottom first.
function(mj_check_program_layers src_dir)
  mj_check_layers(${src_dir}
    LAYERS
      "platform"
      "protocol"
      "table"
      "widgets services"
      "core window results autoplay chat match rewards"
      "dispatch"
      "app"
    # The subsystems' procedures and the dispatcher reach the state they
    # share through the one Client.
    UPWARD_ALLOWED app/client.h
    # The scheduler, start-up and session reach these only through hooks.
    FORBID core rewards core chat core match core dispatch)
endfunction()

# Run as a script (cmake -DSRC_DIR=<folder> -P LayerCheck.cmake): checks that
# folder, and touches STAMP when given and the order holds.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE AND DEFINED SRC_DIR)
  mj_check_program_layers(${SRC_DIR})
  if(DEFINED STAMP)
    file(TOUCH ${STAMP})
  endif()
endif()
