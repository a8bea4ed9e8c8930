# The host slots: host resolution, echo probing and the slot's display.
target_sources(corvane_engine PRIVATE ${CMAKE_CURRENT_LIST_DIR}/hostslot.cpp)
