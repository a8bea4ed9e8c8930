# Helpers shared by every target of the suite.

# Warnings for the suite's own code, treated as errors.
add_library(zor_warnings INTERFACE)
target_compile_options(zor_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Werror
    -Wno-missing-field-initializers
    # A precompiled header the compiler cannot take is said, not silently parsed again.
    -Winvalid-pch -Wno-error=invalid-pch)
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(zor_warnings INTERFACE -Wno-error)
endif()

# The common precompiled header: the Qt and standard headers nearly every file includes. It is
# compiled twice, position-independent for libraries and modules and as for an executable for
# programs and tests (the compiler takes a header only with the same setting), and every target
# reuses one of the two instead of compiling the same Qt headers again.
set(ZOR_PCH_HEADERS
    <string> <vector> <memory> <cstdint> <cstring> <cstdio>
    <QtCore/QString> <QtCore/QByteArray> <QtCore/QObject>)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/zor_pch/library.cpp CONTENT "")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/zor_pch/program.cpp CONTENT "int main() { }\n")
add_library(zor_pch_library OBJECT ${CMAKE_BINARY_DIR}/zor_pch/library.cpp)
add_executable(zor_pch_program ${CMAKE_BINARY_DIR}/zor_pch/program.cpp)
set_target_properties(zor_pch_program PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/zor_pch)
foreach(holder IN ITEMS zor_pch_library zor_pch_program)
    target_link_libraries(${holder} PRIVATE Qt6::Core zor_warnings)
    target_precompile_headers(${holder} PRIVATE ${ZOR_PCH_HEADERS})
endforeach()

# The layers (cmake/layers.txt): a target's sources see only the top folders its layer may
# include. Each layer has an include root in the build tree holding links to those folders
# alone, so "platform/ui/window.h" keeps its path and "monitor/..." is not found from a control.
include(ZorvexLayers)
# Resources built into a target: zor_resource_table (icons, cursors, data) and zor_bitmap_table.
include(ZorvexResources)
include(ZorvexBitmaps)
set(ZOR_LAYER_TABLE ${CMAKE_SOURCE_DIR}/cmake/layers.txt)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${ZOR_LAYER_TABLE})
zor_read_layers(${ZOR_LAYER_TABLE} ZOR_LAYER_FOLDERS)

# zor_layer_root(target layer resultVariable): the include root of layer, made when first asked
# for; an empty layer is the table's folder that holds the folder where target is made.
function(zor_layer_root target layer resultVariable)
    if(NOT layer)
        get_target_property(sourceDir ${target} SOURCE_DIR)
        file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${sourceDir})
        zor_layer_of("${folder}" "${ZOR_LAYER_FOLDERS}" layer)
        if(NOT layer)
            message(FATAL_ERROR "${target}: ${folder} is in no folder of ${ZOR_LAYER_TABLE}")
        endif()
    elseif(NOT layer IN_LIST ZOR_LAYER_FOLDERS)
        message(FATAL_ERROR "${target}: no layer ${layer} in ${ZOR_LAYER_TABLE}")
    endif()
    string(REPLACE "/" "." name ${layer})
    set(root ${CMAKE_BINARY_DIR}/include-roots/${name})
    get_property(made GLOBAL PROPERTY ZOR_LAYER_ROOT_${name})
    if(NOT made)
        get_property(allowed GLOBAL PROPERTY ZOR_LAYER_${layer})
        file(MAKE_DIRECTORY ${root})
        # Links left from an earlier table go (the links alone, never what they point to).
        file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${root} ${root}/*)
        foreach(entry IN LISTS entries)
            if(IS_SYMLINK ${root}/${entry} AND NOT entry IN_LIST allowed)
                file(REMOVE ${root}/${entry})
            endif()
        endforeach()
        foreach(folder IN LISTS allowed)
            if(NOT IS_SYMLINK ${root}/${folder})
                get_filename_component(parent ${root}/${folder} DIRECTORY)
                file(MAKE_DIRECTORY ${parent})
                file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
            endif()
        endforeach()
        set_property(GLOBAL PROPERTY ZOR_LAYER_ROOT_${name} TRUE)
    endif()
    set(${resultVariable} ${root} PARENT_SCOPE)
endfunction()

# zor_include_root(target [LAYER folder]): gives target the include root of its layer, by
# default the layer of the folder it is made in.
function(zor_include_root target)
    cmake_parse_arguments(ARG "" "LAYER" "" ${ARGN})
    zor_layer_root(${target} "${ARG_LAYER}" root)
    target_include_directories(${target} PRIVATE ${root})
endfunction()

# zor_target_defaults(target [LAYER folder]): the include root of the target's layer
# (zor_include_root), warnings and the precompiled header.
function(zor_target_defaults target)
    zor_include_root(${target} ${ARGN})
    target_link_libraries(${target} PRIVATE zor_warnings)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        target_precompile_headers(${target} REUSE_FROM zor_pch_program)
    else()
        target_precompile_headers(${target} REUSE_FROM zor_pch_library)
    endif()
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

# zor_control_module(target [STANDALONE] [version options] SOURCES file... [LIBS library...]
#                    [BITMAPS ID file...] [ICONS ID file...] [CURSORS ID file...])
# A control module (or outside server) of the suite in one call: a module loaded by path with its
# version block (options as for zor_version_info), its sources, its toolbox bitmaps, icons and
# cursors (zor_bitmap_table, zor_resource_table), linked to the framework, its own copy of the
# control module frame (framework/controls) and LIBS. A STANDALONE module links the platform
# alone: it lists among its SOURCES the framework files it compiles into itself. Files are
# relative to the calling folder; subfolders may add sources with target_sources.
function(zor_control_module target)
    cmake_parse_arguments(ARG "STANDALONE" "" "SOURCES;LIBS;BITMAPS;ICONS;CURSORS" ${ARGN})
    if(NOT ARG_SOURCES)
        message(FATAL_ERROR "zor_control_module(${target}): no SOURCES")
    endif()
    zor_module(${target} ${ARG_UNPARSED_ARGUMENTS})
    target_sources(${target} PRIVATE ${ARG_SOURCES})
    if(ARG_STANDALONE)
        target_link_libraries(${target} PRIVATE zorplatform ${ARG_LIBS})
    else()
        target_link_libraries(${target} PRIVATE zorcontrolframe zorbase29 ${ARG_LIBS})
    endif()
    if(ARG_BITMAPS)
        zor_bitmap_table(${target} ${ARG_BITMAPS})
    endif()
    if(ARG_ICONS)
        zor_resource_table(${target} ICON ${ARG_ICONS})
    endif()
    if(ARG_CURSORS)
        zor_resource_table(${target} CURSOR ${ARG_CURSORS})
    endif()
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
    set(environment "QT_QPA_PLATFORM=offscreen;ZORVEX_REGISTRY=${store};ZORVEX_BIN_DIR=${ZOR_BIN_DIR}")
    if(ZOR_SANITIZE)
        # The sanitized build runs each program once with all its cases: starting a sanitized
        # program (and its leak check at the end) costs more than most cases do.
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES TIMEOUT 900 RESOURCE_LOCK ${name}
            ENVIRONMENT "${environment}")
        return()
    endif()
    # Each case is a test of its own (program.Suite.Case), so a failure names its case. The
    # cases are listed when CTest runs, not when the program is built. The cases of one program
    # share its settings store, so they never run at the same time.
    gtest_discover_tests(${name} TEST_PREFIX "${name}." TEST_LIST ${name}_TESTS
        DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
        PROPERTIES TIMEOUT 120 RESOURCE_LOCK ${name})
    # The environment is set by a script of its own after the listing: the listing's PROPERTIES
    # cannot carry a value with several entries.
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
    file(WRITE ${script}
        "set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT [==[${environment}]==])\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
