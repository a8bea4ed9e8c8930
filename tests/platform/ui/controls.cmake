# The standard controls and the dialog data exchange.
zor_add_test(platform_ui_controls_tests SOURCES controls_test.cpp ddx_test.cpp
    LIBS zorplatform Qt6::Widgets)
