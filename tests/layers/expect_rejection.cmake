# Runs the layer check CHECK on SOURCE_ROOT with the table TABLE; passes only
# when the check fails, names OFFENCE and counts no other offence: the tree's
# allowed includes (downwards, within a layer, Qt outside the core) pass.
execute_process(
  COMMAND ${CMAKE_COMMAND} -DQAVO_SOURCE_ROOT=${SOURCE_ROOT} -DQAVO_LAYER_TABLE=${TABLE}
          -P ${CHECK}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "The layer check accepted ${SOURCE_ROOT}:\n${output}")
endif()
# The message may wrap a long line: compare with the white space squeezed.
string(REGEX REPLACE "[ \t\n]+" " " squeezed "${output}")
string(REGEX REPLACE "[ \t\n]+" " " wanted "${OFFENCE}")
string(FIND "${squeezed}" "${wanted}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "The layer check failed on ${SOURCE_ROOT} without naming\n  ${OFFENCE}\n"
                      "It said:\n${output}")
endif()
if(NOT output MATCHES "The layers are broken \\(1\\)")
  message(FATAL_ERROR "The layer check found more than the one offence in ${SOURCE_ROOT}:\n"
                      "${output}")
endif()
message(STATUS "rejected as it should be: ${OFFENCE}")
