# The latency averages and the graph feed.
target_sources(corvane_engine PRIVATE ${CMAKE_CURRENT_LIST_DIR}/graphfeed.cpp)
