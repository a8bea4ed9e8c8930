# Fonts, text drawing and the system colours of the device context.
target_sources(zorplatform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/font.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fonts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dctext.cpp
    ${CMAKE_CURRENT_LIST_DIR}/syscolor.cpp)
