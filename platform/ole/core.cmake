# The component layer's core: identifiers, type information, dispatch, factories and
# registration, fonts and the persistence exchange.
target_sources(zorplatform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/com.cpp
    ${CMAKE_CURRENT_LIST_DIR}/typeinfo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dispatchimpl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/factory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fontholder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/propexchange.cpp)
