# Reading the layer table (cmake/layers.cmake): shared by the build's targets
# and by cmake/check_layers.cmake. Include it after the table.

# The files that belong to layers: every C++ source and header.
set(QAVO_LAYER_FILE_SUFFIXES h hpp cpp cc)

# Fails when the table is malformed: an entry that is neither a folder nor a
# unit, or one named by two layers.
function(qavo_layer_table_check table)
  if(NOT QAVO_LAYERS)
    message(FATAL_ERROR "${table}: QAVO_LAYERS names no layer")
  endif()
  foreach(layer IN LISTS QAVO_QT_FREE_LAYERS)
    if(NOT layer IN_LIST QAVO_LAYERS)
      message(FATAL_ERROR "${table}: the Qt-free layer ${layer} is not in QAVO_LAYERS")
    endif()
  endforeach()
  set(seen "")
  foreach(layer IN LISTS QAVO_LAYERS)
    foreach(entry IN LISTS QAVO_LAYER_${layer})
      if(NOT entry MATCHES "^[A-Za-z0-9_]+(/[A-Za-z0-9_]+)*/?$")
        message(FATAL_ERROR "${table}: layer ${layer}: '${entry}' is neither a folder "
                            "(\"name/\") nor a unit (\"folder/file\" without extension)")
      endif()
      if(entry IN_LIST seen)
        message(FATAL_ERROR "${table}: '${entry}' is named by more than one layer")
      endif()
      list(APPEND seen "${entry}")
    endforeach()
  endforeach()
endfunction()

# qavo_layer_of(<out> <path>): the layer of <path>, a file relative to the
# source root ("console/ctl_view.cpp"): the layer naming its unit, else the
# one naming its nearest folder, else "".
function(qavo_layer_of out path)
  string(REGEX REPLACE "\\.[^./]*$" "" unit "${path}")
  set(found "")
  set(found_length 0)
  foreach(layer IN LISTS QAVO_LAYERS)
    foreach(entry IN LISTS QAVO_LAYER_${layer})
      if(entry MATCHES "/$")
        string(LENGTH "${entry}" length)
        string(SUBSTRING "${path}" 0 ${length} head)
        if(head STREQUAL entry AND length GREATER found_length)
          set(found "${layer}")
          set(found_length ${length})
        endif()
      elseif(unit STREQUAL entry)
        set(${out} "${layer}" PARENT_SCOPE)
        return()
      endif()
    endforeach()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

# qavo_layer_rank(<out> <layer>): the place of <layer>, 0 at the bottom.
function(qavo_layer_rank out layer)
  list(FIND QAVO_LAYERS "${layer}" rank)
  set(${out} ${rank} PARENT_SCOPE)
endfunction()
