#pragma once

// The widget application of the extras tests: one for the whole program, made on first use and
// kept to the end (tooltips and cursors keep Qt objects that must not outlive it).

#include <QtWidgets/QApplication>

inline QApplication& extrasApplication()
{
    static int argc = 1;
    static char name[] = "platform_ui_extras_tests";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}
