# The map view: area estimate and painting.
find_package(Qt6 REQUIRED COMPONENTS Gui)
wayloom_bench(view_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/view_bench.cpp LIBS wayloom_view)
