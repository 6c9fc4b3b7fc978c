# The map view: area estimate (beside the reference count the tests keep) and painting.
find_package(Qt6 REQUIRED COMPONENTS Gui)
wayloom_bench(view_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/view_bench.cpp
              ${PROJECT_SOURCE_DIR}/tests/view/reference_pixel_count.cpp
              LIBS wayloom_view wayloom_bench_survey)
target_include_directories(view_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/view)
