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

# zor_version_info(target [DESCRIPTION text] [FILE_VERSION a.b.c.d] [PRODUCT_VERSION a.b.c.d]
#                  [PRODUCT_NAME text] [TRANSLATION language codepage] [DEBUG])
# Gives a module or program of the suite its version block: the build generates a source with
# the block's bytes (zorversiongen, platform/module) and compiles it into the target, where the
# version calls find it in the file. The versions default to ZOR_FILE_VERSION and
# ZOR_PRODUCT_VERSION, the description and product name to the target's name; company and
# copyright are ZOR_COMPANY_NAME and ZOR_LEGAL_COPYRIGHT, the internal name is the target's name
# and the original file name its file's name. TRANSLATION gives the string table's language and
# code page in hexadecimal (default 0409 04E4); DEBUG sets the debug flag, which Debug builds set
# anyway. zor_shared_library, zor_module and zor_executable call it; calling it again for a
# target changes what that call names and keeps the rest.
function(zor_version_info target)
    cmake_parse_arguments(ARG "DEBUG" "DESCRIPTION;FILE_VERSION;PRODUCT_VERSION;PRODUCT_NAME"
        "TRANSLATION" ${ARGN})
    if(ARG_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR
            "zor_version_info(${target}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
    endif()
    foreach(version IN ITEMS FILE_VERSION PRODUCT_VERSION)
        if(DEFINED ARG_${version}
                AND NOT ARG_${version} MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
            message(FATAL_ERROR "zor_version_info(${target}): ${version} must be a.b.c.d")
        endif()
    endforeach()

    get_target_property(source ${target} ZOR_VERSION_SOURCE)
    if(NOT source)
        set_target_properties(${target} PROPERTIES
            ZOR_VERSION_DESCRIPTION "${target}"
            ZOR_VERSION_FILE "${ZOR_FILE_VERSION}"
            ZOR_VERSION_PRODUCT "${ZOR_PRODUCT_VERSION}"
            ZOR_VERSION_PRODUCT_NAME "${target}"
            ZOR_VERSION_LANGUAGE 0409
            ZOR_VERSION_CODE_PAGE 04E4
            ZOR_VERSION_DEBUG OFF)

        get_target_property(kind ${target} TYPE)
        if(kind STREQUAL "EXECUTABLE")
            set(fileType app)
        else()
            set(fileType dll)
        endif()
        get_target_property(binaryDir ${target} BINARY_DIR)
        set(source ${binaryDir}/${target}_versionblock.cpp)
        # The values are read from the target's properties when the build is generated, so a
        # later call still changes them.
        set(p "$<TARGET_PROPERTY:${target},ZOR_VERSION_")
        add_custom_command(OUTPUT ${source}
            COMMAND zorversiongen --output ${source}
                --file-version "${p}FILE>"
                --product-version "${p}PRODUCT>"
                --type ${fileType}
                --debug "$<OR:$<CONFIG:Debug>,$<BOOL:${p}DEBUG>>>"
                --translation "${p}LANGUAGE>" "${p}CODE_PAGE>"
                --string CompanyName "${ZOR_COMPANY_NAME}"
                --string FileDescription "${p}DESCRIPTION>"
                --string FileVersion "${p}FILE>"
                --string InternalName "${target}"
                --string LegalCopyright "${ZOR_LEGAL_COPYRIGHT}"
                --string LegalTrademarks ""
                --string OriginalFilename "$<TARGET_FILE_NAME:${target}>"
                --string ProductName "${p}PRODUCT_NAME>"
                --string ProductVersion "${p}PRODUCT>"
            DEPENDS zorversiongen
            COMMENT "Generating the version block of ${target}"
            VERBATIM)
        target_sources(${target} PRIVATE ${source})
        set_source_files_properties(${source} TARGET_DIRECTORY ${target}
            PROPERTIES GENERATED ON SKIP_PRECOMPILE_HEADERS ON)
        set_target_properties(${target} PROPERTIES ZOR_VERSION_SOURCE ${source})
    endif()

    if(DEFINED ARG_DESCRIPTION)
        set_target_properties(${target} PROPERTIES ZOR_VERSION_DESCRIPTION "${ARG_DESCRIPTION}")
    endif()
    if(DEFINED ARG_FILE_VERSION)
        set_target_properties(${target} PROPERTIES ZOR_VERSION_FILE "${ARG_FILE_VERSION}")
    endif()
    if(DEFINED ARG_PRODUCT_VERSION)
        set_target_properties(${target} PROPERTIES ZOR_VERSION_PRODUCT "${ARG_PRODUCT_VERSION}")
    endif()
    if(DEFINED ARG_PRODUCT_NAME)
        set_target_properties(${target} PROPERTIES ZOR_VERSION_PRODUCT_NAME "${ARG_PRODUCT_NAME}")
    endif()
    if(DEFINED ARG_TRANSLATION)
        list(LENGTH ARG_TRANSLATION count)
        if(NOT count EQUAL 2)
            message(FATAL_ERROR
                "zor_version_info(${target}): TRANSLATION takes a language and a code page")
        endif()
        list(GET ARG_TRANSLATION 0 language)
        list(GET ARG_TRANSLATION 1 codePage)
        set_target_properties(${target} PROPERTIES ZOR_VERSION_LANGUAGE ${language}
            ZOR_VERSION_CODE_PAGE ${codePage})
    endif()
    if(ARG_DEBUG)
        set_target_properties(${target} PROPERTIES ZOR_VERSION_DEBUG ON)
    endif()
endfunction()

# zor_shared_library(target [version options]): a linked library of the suite, file name
# without "lib", with its version block (options as for zor_version_info).
function(zor_shared_library target)
    add_library(${target} SHARED)
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${target})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
    zor_target_defaults(${target})
    zor_version_info(${target} ${ARGN})
endfunction()

# zor_module(target [version options]): a module loaded by path (control modules, outside
# servers), with its version block.
function(zor_module target)
    add_library(${target} MODULE)
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${target})
    zor_target_defaults(${target})
    zor_version_info(${target} ${ARGN})
endfunction()

# zor_executable(target [version options]): a program of the suite, with its version block.
# Sources are added with target_sources.
function(zor_executable target)
    add_executable(${target})
    zor_target_defaults(${target})
    zor_version_info(${target} ${ARGN})
endfunction()

# zor_add_test(name SOURCES ... [LIBS ...]): one GoogleTest executable run by CTest, always
# isolated the same way: no display, and a settings store of its own in the build tree.
function(zor_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    # Test programs live apart from the program's directory, so $ORIGIN does not reach the
    # suite's libraries: they keep a build RPATH to it.
    set_target_properties(${name} PROPERTIES
        BUILD_WITH_INSTALL_RPATH OFF BUILD_RPATH "${ZOR_BIN_DIR}")
    zor_target_defaults(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock
        Threads::Threads)
    set(store ${CMAKE_BINARY_DIR}/test-registry/${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ZORVEX_REGISTRY=${store};ZORVEX_BIN_DIR=${ZOR_BIN_DIR}"
        TIMEOUT 300)
endfunction()
