# Run at every build: writes OUTPUT, a header with the project version and, when the sources
# are a Git checkout, the commit they were built from ("-dirty" when they had local changes).
# The file is only rewritten when its content changes, so an unchanged commit rebuilds nothing.
set(commit "")
find_program(GIT_EXECUTABLE git)
if(GIT_EXECUTABLE)
    execute_process(
        COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" describe --always --dirty --abbrev=12
                --exclude=*
        OUTPUT_VARIABLE commit
        OUTPUT_STRIP_TRAILING_WHITESPACE
        ERROR_QUIET
        RESULT_VARIABLE failed)
    if(failed)
        set(commit "")
    endif()
endif()
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT [[
#pragma once
#define TERVIX_VERSION "@VERSION@"
#define TERVIX_COMMIT "@commit@"
]] @ONLY)
