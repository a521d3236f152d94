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

# Static library of every .cpp in the calling folder.  A folder whose sources
# are not written yet gives an interface library, so the tree still configures.
function(zarn_glob_library name)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(sources)
        add_library(${name} STATIC ${sources})
        zarn_target_defaults(${name})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    endif()
endfunction()
