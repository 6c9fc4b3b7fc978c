# GPX and map files through wayloom-cli beside GPSBabel, as whole programs.
wayloom_bench(gpx_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/gpx_bench.cpp LIBS wayloom_bench_survey)
target_compile_definitions(gpx_bench PRIVATE WAYLOOM_CLI="$<TARGET_FILE:wayloom-cli>")
add_dependencies(gpx_bench wayloom-cli)
