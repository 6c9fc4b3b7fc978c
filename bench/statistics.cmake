wayloom_bench(statistics_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/statistics_bench.cpp LIBS wayloom_statistics)
