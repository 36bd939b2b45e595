# Run at every build: writes the version header with the commit the program is built
# from, and touches it only when the text changes (so a rebuild recompiles one file).
#   cmake -DSOURCE_DIR=... -DOUTPUT=... -DVERSION=... -P WriteVersion.cmake
set(commit "")
find_program(GIT git)
if(GIT AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND ${GIT} -C "${SOURCE_DIR}" rev-parse --short=12 HEAD
                  OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE rc ERROR_QUIET)
  if(NOT rc EQUAL 0)
    set(commit "")
  else()
    execute_process(COMMAND ${GIT} -C "${SOURCE_DIR}" status --porcelain --untracked-files=no
                    OUTPUT_VARIABLE dirty OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(dirty)
      string(APPEND commit "-modified")
    endif()
  endif()
endif()
set(text "// Written by the build: the program's version and the commit it was built from.\n")
string(APPEND text "#pragma once\n")
string(APPEND text "#define QUORVANE_VERSION \"${VERSION}\"\n")
string(APPEND text "#define QUORVANE_COMMIT \"${commit}\"\n")
set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUTPUT}" "${text}")
endif()
