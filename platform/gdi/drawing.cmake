# The device context's drawing and the drawing objects.
target_sources(zorplatform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/dc.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dc_p.h
    ${CMAKE_CURRENT_LIST_DIR}/gdiobjects.cpp)
