# Copies the sources (CODE) to SCRATCH, adds LINE at the end of FILE in the
# copy and runs the include check (CHECKER, with MANIFEST) on it, printing
# what the check says; the test that runs this expects the complaint.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${SCRATCH}")
file(COPY "${CODE}/" DESTINATION "${SCRATCH}")
file(APPEND "${SCRATCH}/${FILE}" "${LINE}\n")
execute_process(COMMAND "${CMAKE_COMMAND}" "-DMANIFEST=${MANIFEST}" "-DCODE=${SCRATCH}" -P "${CHECKER}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${output}")
if(result EQUAL 0)
  message(FATAL_ERROR "The check let ${LINE} in ${FILE} through.")
endif()
