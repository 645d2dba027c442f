# Holds the sources to the layer table. Run as
#   cmake -DQAVO_SOURCE_ROOT=<src> -DQAVO_LAYER_TABLE=<layers.cmake> -P check_layers.cmake
# Fails, naming every offence, when
#   - a file includes a header of a layer above its own (path, line, the
#     include and both layers),
#   - a file of a Qt-free layer includes a Qt header (<Q...>),
#   - a file belongs to no layer, or the table names a folder or unit that
#     has no file.
# An include is looked up under the source root ("folder/file.h"), then,
# for the quoted form, beside the including file; headers found in neither
# place are not the project's and are left alone.
cmake_minimum_required(VERSION 3.25)

foreach(var QAVO_SOURCE_ROOT QAVO_LAYER_TABLE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_layers: -D${var}=... is missing")
  endif()
endforeach()
get_filename_component(root "${QAVO_SOURCE_ROOT}" ABSOLUTE)
get_filename_component(table "${QAVO_LAYER_TABLE}" ABSOLUTE)
if(NOT IS_DIRECTORY "${root}")
  message(FATAL_ERROR "check_layers: no folder ${root}")
endif()

include("${table}")
include("${CMAKE_CURRENT_LIST_DIR}/layer_lookup.cmake")
qavo_layer_table_check("${table}")

set(patterns "")
foreach(suffix IN LISTS QAVO_LAYER_FILE_SUFFIXES)
  list(APPEND patterns "${root}/*.${suffix}")
endforeach()
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${root}" ${patterns})
list(SORT files)

set(offences "")

# Every file's layer, and the units that exist.
set(units "")
foreach(rel IN LISTS files)
  qavo_layer_of(layer "${rel}")
  if(layer STREQUAL "")
    list(APPEND offences "${root}/${rel}: belongs to no layer (name its folder or unit in ${table})")
  endif()
  set("layer_of_${rel}" "${layer}")
  string(REGEX REPLACE "\\.[^./]*$" "" unit "${rel}")
  list(APPEND units "${unit}")
endforeach()

foreach(layer IN LISTS QAVO_LAYERS)
  foreach(entry IN LISTS QAVO_LAYER_${layer})
    if(entry MATCHES "/$")
      if(NOT IS_DIRECTORY "${root}/${entry}")
        list(APPEND offences "${table}: layer ${layer} names the folder ${entry}, which is not under ${root}")
      endif()
    elseif(NOT entry IN_LIST units)
      list(APPEND offences "${table}: layer ${layer} names ${entry}, which has no file under ${root}")
    endif()
  endforeach()
endforeach()

# The line of <directive> (as matched, maybe with the newline before it) in <text>.
function(line_of out text directive)
  string(FIND "${text}" "${directive}" at)
  string(SUBSTRING "${text}" 0 ${at} before)
  string(REGEX REPLACE "[^\n]" "" newlines "${before}")
  string(LENGTH "${newlines}" line)
  math(EXPR line "${line} + 1")
  if(directive MATCHES "^\n")
    math(EXPR line "${line} + 1")
  endif()
  set(${out} ${line} PARENT_SCOPE)
endfunction()

foreach(rel IN LISTS files)
  set(layer "${layer_of_${rel}}")
  if(layer STREQUAL "")
    continue()
  endif()
  qavo_layer_rank(rank "${layer}")
  set(qt_free FALSE)
  if(layer IN_LIST QAVO_QT_FREE_LAYERS)
    set(qt_free TRUE)
  endif()
  get_filename_component(dir "${rel}" DIRECTORY)
  file(READ "${root}/${rel}" text)
  string(REGEX MATCHALL "(^|\n)[ \t]*#[ \t]*include[ \t]*[<\"][^<>\"\n]+[>\"]" directives "${text}")
  foreach(directive IN LISTS directives)
    string(REGEX REPLACE "^\n?[ \t]*#[ \t]*include[ \t]*" "" spelled "${directive}")
    string(SUBSTRING "${spelled}" 0 1 opening)
    string(REGEX REPLACE "^[<\"](.*)[>\"]$" "\\1" header "${spelled}")

    if(qt_free AND opening STREQUAL "<" AND header MATCHES "^Q")
      line_of(line "${text}" "${directive}")
      list(APPEND offences
           "${root}/${rel}:${line}: includes ${spelled}, a Qt header, in layer ${layer}, which links no Qt")
      continue()
    endif()

    set(target "")
    if(EXISTS "${root}/${header}" AND DEFINED "layer_of_${header}")
      set(target "${header}")
    elseif(opening STREQUAL "\"" AND NOT dir STREQUAL "")
      get_filename_component(beside "${root}/${dir}/${header}" ABSOLUTE)
      if(EXISTS "${beside}")
        file(RELATIVE_PATH beside "${root}" "${beside}")
        if(DEFINED "layer_of_${beside}")
          set(target "${beside}")
        endif()
      endif()
    endif()
    if(target STREQUAL "" OR "${layer_of_${target}}" STREQUAL "")
      continue()
    endif()
    set(target_layer "${layer_of_${target}}")
    qavo_layer_rank(target_rank "${target_layer}")
    if(target_rank GREATER rank)
      line_of(line "${text}" "${directive}")
      list(APPEND offences
           "${root}/${rel}:${line}: includes ${target} of layer ${target_layer}, above its own layer ${layer}")
    endif()
  endforeach()
endforeach()

list(LENGTH files count)
if(offences)
  list(LENGTH offences offence_count)
  string(REPLACE ";" ", " order "${QAVO_LAYERS}")
  string(JOIN "\n  " listed ${offences})
  message(FATAL_ERROR
          "The layers are broken (${offence_count}):\n  ${listed}\n"
          "Layers, bottom to top: ${order} (table: ${table}). A file includes only "
          "headers of its own layer and of the layers below it.")
endif()
message(STATUS "layers: ${count} files under ${root}, no include reaches upwards")
