# The layers as targets: every layer of cmake/layers.cmake is the static
# library qavo_<layer>. Include after the table and cmake/layer_lookup.cmake.

set(QAVO_SOURCE_ROOT "${PROJECT_SOURCE_DIR}/src")
set(QAVO_LAYER_TABLE "${PROJECT_SOURCE_DIR}/cmake/layers.cmake")
qavo_layer_table_check("${QAVO_LAYER_TABLE}")

# qavo_layer_sources(<file>...): adds each file (relative to the calling
# folder) to the target of its layer. Without the UI, files of the layers
# that need Qt are left out.
function(qavo_layer_sources)
  foreach(file IN LISTS ARGN)
    get_filename_component(path "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    file(RELATIVE_PATH rel "${QAVO_SOURCE_ROOT}" "${path}")
    qavo_layer_of(layer "${rel}")
    if(layer STREQUAL "")
      message(FATAL_ERROR "${path} belongs to no layer: name its folder or unit in "
                          "${QAVO_LAYER_TABLE}")
    endif()
    if(NOT QAVO_UI AND NOT layer IN_LIST QAVO_QT_FREE_LAYERS)
      continue()
    endif()
    target_sources(qavo_${layer} PRIVATE "${path}")
  endforeach()
endfunction()

# Fails at configure time when a layer's target holds a file of src/ that
# the table gives to another layer (sources added without
# qavo_layer_sources, such as qavo_core's own list), or links a layer that
# is not below it.
function(qavo_layer_targets_match_table)
  foreach(layer IN LISTS QAVO_LAYERS)
    if(NOT TARGET qavo_${layer})
      continue()
    endif()
    qavo_layer_rank(rank "${layer}")
    get_target_property(links qavo_${layer} LINK_LIBRARIES)
    foreach(other IN LISTS QAVO_LAYERS)
      qavo_layer_rank(other_rank "${other}")
      if(other_rank GREATER_EQUAL rank AND "qavo_${other}" IN_LIST links)
        message(FATAL_ERROR "qavo_${layer} links qavo_${other}, which is not below it")
      endif()
    endforeach()
    get_target_property(sources qavo_${layer} SOURCES)
    get_target_property(base qavo_${layer} SOURCE_DIR)
    foreach(source IN LISTS sources)
      if(source MATCHES "^\\$<")
        continue()
      endif()
      get_filename_component(path "${source}" ABSOLUTE BASE_DIR "${base}")
      file(RELATIVE_PATH rel "${QAVO_SOURCE_ROOT}" "${path}")
      if(rel MATCHES "^\\.\\./")
        continue()
      endif()
      qavo_layer_of(owner "${rel}")
      if(NOT owner STREQUAL layer)
        message(FATAL_ERROR "qavo_${layer} builds ${path}, which ${QAVO_LAYER_TABLE} gives to "
                            "the layer '${owner}'")
      endif()
    endforeach()
  endforeach()
endfunction()

# The check of every include against the table, before any layer builds: a
# file that includes a header of a layer above its own stops the build.
function(qavo_add_layer_check)
  set(patterns "")
  foreach(suffix IN LISTS QAVO_LAYER_FILE_SUFFIXES)
    list(APPEND patterns "${QAVO_SOURCE_ROOT}/*.${suffix}")
  endforeach()
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${patterns})
  set(stamp "${CMAKE_BINARY_DIR}/layer_check.stamp")
  add_custom_command(
    OUTPUT "${stamp}"
    COMMAND "${CMAKE_COMMAND}" "-DQAVO_SOURCE_ROOT=${QAVO_SOURCE_ROOT}"
            "-DQAVO_LAYER_TABLE=${QAVO_LAYER_TABLE}"
            -P "${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake"
    COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
    DEPENDS ${files} "${QAVO_LAYER_TABLE}" "${PROJECT_SOURCE_DIR}/cmake/layer_lookup.cmake"
            "${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake"
    COMMENT "Checking the includes against the layers"
    VERBATIM)
  add_custom_target(qavo_layer_check DEPENDS "${stamp}")
  foreach(layer IN LISTS QAVO_LAYERS)
    if(TARGET qavo_${layer})
      add_dependencies(qavo_${layer} qavo_layer_check)
    endif()
  endforeach()
endfunction()
