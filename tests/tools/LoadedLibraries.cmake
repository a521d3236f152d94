# Fails when a command that needs neither loads the X11 or ICU libraries:
# they are opened when a capture starts or a legacy code page is converted.
execute_process(COMMAND ${CMAKE_COMMAND} -E env LD_DEBUG=files ${PROGRAM} ${ARGUMENTS}
    OUTPUT_QUIET ERROR_VARIABLE trace RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${ARGUMENTS} failed: ${status}")
endif()
string(REGEX MATCHALL "file=[^ \t\n]*" loaded "${trace}")
list(REMOVE_DUPLICATES loaded)
foreach(library IN LISTS loaded)
    if(library MATCHES "libX11|libxcb|libicu")
        message(FATAL_ERROR "${PROGRAM} ${ARGUMENTS} loads ${library}")
    endif()
endforeach()
list(LENGTH loaded count)
if(count EQUAL 0)
    message(FATAL_ERROR "no library loads seen: LD_DEBUG gave nothing to check")
endif()
message(STATUS "${PROGRAM} ${ARGUMENTS} loads ${count} libraries: ${loaded}")
