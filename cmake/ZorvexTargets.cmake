# Helpers shared by every target of the suite.

# Warnings for the suite's own code, treated as errors.
add_library(zor_warnings INTERFACE)
target_compile_options(zor_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Werror
    -Wno-missing-field-initializers)

# The common precompiled header: the Qt and standard headers nearly every file includes.
set(ZOR_PCH_HEADERS
    <string> <vector> <memory> <cstdint> <cstring> <cstdio>
    <QtCore/QString> <QtCore/QByteArray> <QtCore/QObject>)

# zor_target_defaults(target): include root, warnings and the precompiled header.
function(zor_target_defaults target)
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} PRIVATE zor_warnings)
    target_precompile_headers(${target} PRIVATE ${ZOR_PCH_HEADERS})
endfunction()

# zor_shared_library(target): a linked library of the suite, file name without "lib".
function(zor_shared_library target)
    add_library(${target} SHARED)
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${target})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
    zor_target_defaults(${target})
endfunction()

# zor_module(target): a module loaded by path (control modules, outside servers).
function(zor_module target)
    add_library(${target} MODULE)
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${target})
    zor_target_defaults(${target})
endfunction()

# zor_add_test(name SOURCES ... [LIBS ...]): one GoogleTest executable run by CTest, always
# isolated the same way: no display, and a settings store of its own in the build tree.
function(zor_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    set_target_properties(${name} PROPERTIES BUILD_RPATH "${ZOR_BIN_DIR}")
    zor_target_defaults(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock
        Threads::Threads)
    set(store ${CMAKE_BINARY_DIR}/test-registry/${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ZORVEX_REGISTRY=${store};ZORVEX_BIN_DIR=${ZOR_BIN_DIR}"
        TIMEOUT 300)
endfunction()
