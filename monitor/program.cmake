# The program corvane: its application object, main window and resources.
#
# Everything but main() is an object library, so that the window's tests link the very same
# objects as the program, the resource tables' registrars included (nothing refers to them by
# name, so a static library would leave them out).
include(${CMAKE_SOURCE_DIR}/platform/ui/resources.cmake)
add_library(corvane_window OBJECT
    ${CMAKE_CURRENT_LIST_DIR}/corvaneapp.cpp
    ${CMAKE_CURRENT_LIST_DIR}/corvanedlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/corvaneresources.cpp)
zor_target_defaults(corvane_window)
target_link_libraries(corvane_window PUBLIC corvane_engine)
zor_resource_table(corvane_window ICON 129 ${CMAKE_CURRENT_LIST_DIR}/corvane.png)

zor_executable(corvane DESCRIPTION "Zorvex host monitor")
target_sources(corvane PRIVATE ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(corvane PRIVATE corvane_window corvane_engine)
add_dependencies(corvane zorwidgets29 zorwait29 zorabout29)
