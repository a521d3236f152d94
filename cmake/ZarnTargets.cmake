# Common settings for every target of the project: language level, warnings
# and the optional sanitizers.  Call zarn_target_defaults(<target>) once per
# target right after creating it.

function(zarn_target_defaults target)
    target_compile_features(${target} PUBLIC cxx_std_20)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wshadow -Wold-style-cast -Wnon-virtual-dtor)
    if(ZARN_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# GoogleTest executable linked against the given libraries; every test case is
# registered with CTest by discovery.
function(zarn_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT ARG_SOURCES)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    zarn_target_defaults(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
    set(labels ${ARG_LABELS})
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS "${labels}"
                   ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# Static library of every .cpp in the calling folder but those listed after
# EXCLUDE.  A folder whose sources are not written yet gives an interface
# library, so the tree still configures.
function(zarn_glob_library name)
    cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    foreach(excluded IN LISTS ARG_EXCLUDE)
        list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
    endforeach()
    if(sources)
        add_library(${name} STATIC ${sources})
        zarn_target_defaults(${name})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    endif()
endfunction()

# Installs a program into the binary folder.  With DEVICE_LIBRARY the program
# finds libZarnHWI.so relative to itself, in the build tree and under any
# install prefix.  CMake's own scheme pads a build-tree RUNPATH it will rewrite
# at install time with empty entries, and an empty entry is the current
# directory: a program started in an untrusted folder would load libraries
# planted there.  So the build tree gets the $ORIGIN-relative path to the
# library, repeated until it is as long as the installed path, and the install
# step writes the installed path over it.
function(zarn_install_program target)
    cmake_parse_arguments(ARG "DEVICE_LIBRARY" "" "" ${ARGN})
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    if(NOT ARG_DEVICE_LIBRARY)
        return()
    endif()
    if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
        set(installed "${CMAKE_INSTALL_LIBDIR}")
    else()
        set(installed "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
    endif()
    get_target_property(library_dir ZarnHWI BINARY_DIR)
    file(RELATIVE_PATH relative ${CMAKE_CURRENT_BINARY_DIR} ${library_dir})
    set(entry "$ORIGIN/${relative}")
    set(build "${entry}")
    string(LENGTH "${installed}" wanted)
    string(LENGTH "${build}" length)
    while(length LESS wanted)
        string(APPEND build ":${entry}")
        string(LENGTH "${build}" length)
    endwhile()
    set_target_properties(${target} PROPERTIES
        BUILD_WITH_INSTALL_RPATH ON
        INSTALL_RPATH "${build}")
    install(CODE "file(RPATH_CHANGE FILE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${target}>\"
        OLD_RPATH \"${build}\" NEW_RPATH \"${installed}\")")
endfunction()

# Static Qt Widgets library of every .cpp in the calling folder, linking the
# given targets publicly.  A folder whose sources are not written yet gives an
# interface library that carries the same dependencies, so the layers above
# can name it already.
function(zarn_gui_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(sources)
        add_library(${name} STATIC ${sources})
        zarn_target_defaults(${name})
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
    endif()
endfunction()
