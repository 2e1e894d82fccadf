# Runs corvane-cli with an input file on standard input and checks what comes out.
#   PROGRAM  the program
#   ARGS     its arguments, separated by "|"
#   INPUT    file for standard input (empty: no input)
#   EXPECT   file that standard output must equal (optional)
#   STATUS   the expected exit status
#   STDERR   regular expression that standard error must match (optional; else it must be empty)
#   CONTAINS texts, separated by "|", that standard output must contain (optional)
string(REPLACE "|" ";" args "${ARGS}")
if(INPUT)
  set(input_file ${INPUT})
else()
  set(input_file /dev/null)
endif()
execute_process(COMMAND ${PROGRAM} ${args}
  INPUT_FILE ${input_file}
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE status)

if(NOT "${status}" STREQUAL "${STATUS}")
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(EXPECT)
  file(READ ${EXPECT} expected)
  if(NOT out STREQUAL expected)
    file(WRITE ${OUTPUT_COPY} "${out}")
    message(FATAL_ERROR "standard output differs from ${EXPECT} (written to ${OUTPUT_COPY}):\n${out}")
  endif()
endif()
if(STDERR)
  if(NOT err MATCHES "${STDERR}")
    message(FATAL_ERROR "standard error does not match \"${STDERR}\":\n${err}")
  endif()
elseif(NOT err STREQUAL "")
  message(FATAL_ERROR "unexpected standard error:\n${err}")
endif()
if(CONTAINS)
  string(REPLACE "|" ";" texts "${CONTAINS}")
  foreach(text IN LISTS texts)
    string(FIND "${out}" "${text}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "standard output lacks \"${text}\":\n${out}")
    endif()
  endforeach()
endif()
