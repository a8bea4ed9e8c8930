# The component layer's core: identifiers, dispatch, type information, fonts, persistence and
# registration and creation through small test component modules of its own.
set(zor_ole_test_module_dir ${CMAKE_BINARY_DIR}/tests/olemodules)
foreach(module zorolecoretestmodule zorolebrokentestmodule zorolenoentrymodule)
    if(module STREQUAL zorolenoentrymodule)
        add_library(${module} MODULE ${CMAKE_CURRENT_LIST_DIR}/noentrymodule.cpp)
    else()
        add_library(${module} MODULE ${CMAKE_CURRENT_LIST_DIR}/coretestmodule.cpp)
    endif()
    set_target_properties(${module} PROPERTIES PREFIX ""
        LIBRARY_OUTPUT_DIRECTORY ${zor_ole_test_module_dir}
        BUILD_WITH_INSTALL_RPATH OFF BUILD_RPATH "${ZOR_BIN_DIR}")
    zor_target_defaults(${module})
    target_link_libraries(${module} PRIVATE zorplatform)
endforeach()
target_compile_definitions(zorolebrokentestmodule PRIVATE ZOR_TEST_BROKEN_CLASS)

zor_add_test(platform_ole_core_tests SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/com_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dispatch_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/typeinfo_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fontholder_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/propexchange_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/factory_test.cpp
    LIBS zorplatform Qt6::Core)
target_compile_definitions(platform_ole_core_tests PRIVATE
    ZOR_OLE_TEST_MODULE="$<TARGET_FILE:zorolecoretestmodule>"
    ZOR_OLE_BROKEN_MODULE="$<TARGET_FILE:zorolebrokentestmodule>"
    ZOR_OLE_NOENTRY_MODULE="$<TARGET_FILE:zorolenoentrymodule>")
add_dependencies(platform_ole_core_tests zorolecoretestmodule zorolebrokentestmodule
    zorolenoentrymodule)
