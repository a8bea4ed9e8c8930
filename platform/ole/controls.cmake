# The control base, the control site and the hosted-control factory, property pages, the
# property frame and the stock font page.
target_sources(zorplatform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/control.cpp
    ${CMAKE_CURRENT_LIST_DIR}/site.cpp
    ${CMAKE_CURRENT_LIST_DIR}/proppage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fontpage.cpp)
