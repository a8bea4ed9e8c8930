# The control base, the control site, hosted template rows, property pages, the property frame
# and the stock font page, with a test control defined in the program.
zor_add_test(platform_ole_controls_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/control_test.cpp ${CMAKE_CURRENT_LIST_DIR}/site_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/proppage_test.cpp
    LIBS zorplatform Qt6::Widgets)
