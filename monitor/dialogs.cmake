# The Options and Database Maintenance dialogs, and the probe settings the Options dialog edits.
target_sources(corvane_engine PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/probesettings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/optionsdlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/maintenancedlg.cpp)
