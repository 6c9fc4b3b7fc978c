# Shared build settings and the one-line test helpers.

add_compile_options(-Wall -Wextra -Wpedantic)

if(WAYLOOM_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WAYLOOM_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# What every test program may use: the source tree and its test data; with
# SIMULATOR the handset simulator's path (HANDSET_SIM), with CLI wayloom-cli's
# (WAYLOOM_CLI), each built before the test.
function(wayloom_test_program name simulator cli)
  target_compile_definitions(${name} PRIVATE WAYLOOM_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                             WAYLOOM_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  if(simulator)
    target_compile_definitions(${name} PRIVATE HANDSET_SIM="$<TARGET_FILE:handset-sim>")
    add_dependencies(${name} handset-sim)
  endif()
  if(cli)
    target_compile_definitions(${name} PRIVATE WAYLOOM_CLI="$<TARGET_FILE:wayloom-cli>")
    add_dependencies(${name} wayloom-cli)
  endif()
endfunction()

# wayloom_test(NAME SOURCES... LIBS lib... [SIMULATOR] [CLI] [RUN_SERIAL]) adds a
# GoogleTest program and registers its cases; RUN_SERIAL runs them alone (for
# cases paced like a real line, which other tests' load could stretch).
function(wayloom_test name)
  cmake_parse_arguments(arg "SIMULATOR;CLI;RUN_SERIAL" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} wayloom_test_main)
  wayloom_test_program(${name} "${arg_SIMULATOR}" "${arg_CLI}")
  set(properties "")
  if(arg_RUN_SERIAL)
    set(properties PROPERTIES RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 ${properties})
endfunction()

# wayloom_window_test(NAME LIBS lib... [SIMULATOR] [CLI]) adds the QtTest
# program NAME.cpp and runs it as the test NAME on the offscreen platform.
function(wayloom_window_test name)
  cmake_parse_arguments(arg "SIMULATOR;CLI" "" "LIBS" ${ARGN})
  find_package(Qt6 REQUIRED COMPONENTS Test Widgets)
  add_executable(${name} ${name}.cpp)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${arg_LIBS} Qt6::Test)
  wayloom_test_program(${name} "${arg_SIMULATOR}" "${arg_CLI}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()

# wayloom_cli_case(NAME ARGS arg... CODE N [STDOUT FILE] [STDERR FILE]
#   [STDOUT_TEXT T] [STDERR_TEXT T] [STDOUT_MATCH RE] [STDERR_MATCH RE]
#   [ABSENT FILE] [BYTES FILE@OFFSET=HEX] [THEN arg... THEN_STDOUT_TEXT T] [PROGRAM PATH])
# runs wayloom-cli (or the copy of it at PATH) once as the test cli.NAME and
# compares what it gives (cmake/run_cli.cmake says how). PARSE_ARGV and
# list(JOIN) keep an empty argument, such as --shapes "".
function(wayloom_cli_case name)
  set(keys CODE STDOUT STDERR STDOUT_TEXT STDERR_TEXT STDOUT_MATCH STDERR_MATCH ABSENT BYTES
      THEN_STDOUT_TEXT)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "${keys};PROGRAM" "ARGS;THEN")
  # Lists travel as "|"-joined text: a ";" would split the command line.
  list(JOIN arg_ARGS "|" args)
  set(program $<TARGET_FILE:wayloom-cli>)
  if(DEFINED arg_PROGRAM)
    set(program ${arg_PROGRAM})
  endif()
  set(defs -DCLI=${program} "-DARGS=${args}")
  foreach(key IN LISTS keys)
    if(DEFINED arg_${key})
      list(APPEND defs "-D${key}=${arg_${key}}")
    endif()
  endforeach()
  if(DEFINED arg_THEN)
    list(JOIN arg_THEN "|" then)
    list(APPEND defs "-DTHEN=${then}")
  endif()
  add_test(NAME cli.${name} COMMAND ${CMAKE_COMMAND} ${defs} -P ${PROJECT_SOURCE_DIR}/cmake/run_cli.cmake)
  set(cli_case_test cli.${name} PARENT_SCOPE)
endfunction()
