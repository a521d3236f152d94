# Fails when an ELF file under ROOT carries a library search path with an
# empty or relative entry: the loader takes either as the current directory,
# so the program would load libraries planted wherever it is started.
# With BUILD, the build folder BUILD is first installed afresh under the
# prefix PREFIX of the staging folder ROOT, whose programs must then find
# libZarnHWI.so through $ORIGIN.
find_program(READELF readelf REQUIRED)
if(BUILD)
    file(REMOVE_RECURSE ${ROOT})
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${ROOT}
                            ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                    OUTPUT_QUIET RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "installing ${BUILD} under ${ROOT} failed")
    endif()
    set(ROOT ${ROOT}${PREFIX})
endif()
file(GLOB_RECURSE candidates LIST_DIRECTORIES false ${ROOT}/*)
set(checked 0)
foreach(file IN LISTS candidates)
    file(RELATIVE_PATH relative ${ROOT} ${file})
    # Compiler probes, objects and archives are never loaded; the trial
    # installation is checked on its own.
    if(relative MATCHES "(^|/)(CMakeFiles|trial-install)/" OR file MATCHES "\\.(o|a)$" OR IS_SYMLINK ${file})
        continue()
    endif()
    file(READ ${file} magic LIMIT 4 HEX)
    if(NOT magic STREQUAL "7f454c46")
        continue()
    endif()
    math(EXPR checked "${checked} + 1")
    execute_process(COMMAND ${READELF} -d ${file} OUTPUT_VARIABLE dynamic RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "readelf failed on ${file}")
    endif()
    string(REGEX MATCHALL "Library (rpath|runpath): \\[[^]\n]*\\]" paths "${dynamic}")
    foreach(path IN LISTS paths)
        string(REGEX REPLACE "^Library (rpath|runpath): \\[(.*)\\]$" "\\2" value "${path}")
        # A list written with ':' keeps its empty entries when split on ';'.
        string(REPLACE ":" ";" entries "${value}")
        foreach(entry IN LISTS entries)
            if(NOT entry MATCHES "^(/|\\$ORIGIN)")
                message(FATAL_ERROR "${file} searches the current directory for libraries: [${value}]")
            endif()
        endforeach()
        if(value STREQUAL "" OR value MATCHES "(^:|::|:$)")
            message(FATAL_ERROR "${file} has an empty library search path entry: [${value}]")
        endif()
    endforeach()
    if(BUILD AND file MATCHES "/bin/(Zarn|zarnctl)$" AND NOT dynamic MATCHES "runpath: \\[\\$ORIGIN/")
        message(FATAL_ERROR "${file} does not find libZarnHWI.so relative to itself")
    endif()
endforeach()
if(checked EQUAL 0)
    message(FATAL_ERROR "no ELF file under ${ROOT}")
endif()
message(STATUS "${checked} ELF files under ${ROOT}, no empty or relative library search path")
