# The waypoint download from the handset simulator, paced like a real line.
wayloom_bench(gps_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/gps_bench.cpp LIBS wayloom_gps)
target_include_directories(gps_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/tools)
target_compile_definitions(gps_bench PRIVATE HANDSET_SIM="$<TARGET_FILE:handset-sim>")
add_dependencies(gps_bench handset-sim)
