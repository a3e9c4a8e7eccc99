# Helpers shared by every subsystem's CMakeLists: libraries, tests, benchmarks.
#
#   bramble_library(<name> SOURCES ... [DEPS ...] [PKG ...])
#       static library <name>; include root is the repository root, so code
#       includes "runtime/jint.h", "platform/paths.h" and so on.
#       PKG names pkg-config modules (imported as PkgConfig::<module>).
#   bramble_test(<name> LABEL <label> SOURCES ... [DEPS ...] [ENV ...])
#       GoogleTest program registered with CTest under <label>.
#   bramble_bench(<name> SOURCES ... [DEPS ...])
#       Google Benchmark program (never run by ctest).
#   bramble_label_test(<label> <target>...)
#       counts programs under a test label for its tests-<label> target
#       (bramble_test does it itself; tests added by hand call it).
#   bramble_label_targets()
#       makes the tests-<label> targets, once every test is known.

set(BRAMBLE_WARNINGS -Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)

if(BRAMBLE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(BRAMBLE_GC_STRESS)
  add_compile_definitions(BRAMBLE_GC_STRESS=1)
endif()

function(bramble_pkg module)
  if(NOT TARGET PkgConfig::${module})
    pkg_check_modules(${module} REQUIRED IMPORTED_TARGET GLOBAL ${module})
  endif()
endfunction()

function(bramble_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;PKG" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${BRAMBLE_WARNINGS})
  foreach(p IN LISTS A_PKG)
    bramble_pkg(${p})
    target_link_libraries(${name} PUBLIC PkgConfig::${p})
  endforeach()
  target_link_libraries(${name} PUBLIC ${A_DEPS} Threads::Threads)
endfunction()

# Environment every test runs with: headless SDL, no real sound, message
# boxes answered, a private window registry.
set(BRAMBLE_TEST_ENV
  SDL_VIDEODRIVER=offscreen
  SDL_AUDIODRIVER=dummy
  BRAMBLE_HEADLESS=1
  BRAMBLE_MSGBOX_ANSWER=1
  SOUNDPUMP_SINK=fakesink
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=0
  UBSAN_OPTIONS=print_stacktrace=1)

function(bramble_test name)
  cmake_parse_arguments(A "" "LABEL;TIMEOUT" "SOURCES;DEPS;ENV" ${ARGN})
  if(NOT A_LABEL)
    message(FATAL_ERROR "bramble_test(${name}) needs a LABEL")
  endif()
  set(workdir ${CMAKE_CURRENT_BINARY_DIR}/${name}.work)
  set(env "${BRAMBLE_TEST_ENV};BRAMBLE_DEVICE_ROOT=${workdir}/device;BRAMBLE_WINDOW_DIR=${workdir}/windows;BRAMBLE_SOURCE_DIR=${PROJECT_SOURCE_DIR};${A_ENV}")
  # The same environment is the program's default when run by hand.
  file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${name}_env.cpp
    CONTENT "#define BRAMBLE_TEST_DEFAULT_ENV \"${env}\"\n#define BRAMBLE_TEST_WORKDIR \"${workdir}\"\n#include \"cmake/test_env.cpp\"\n")
  add_executable(${name} ${A_SOURCES} ${CMAKE_CURRENT_BINARY_DIR}/${name}_env.cpp)
  target_compile_options(${name} PRIVATE ${BRAMBLE_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  file(MAKE_DIRECTORY ${workdir})
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${workdir})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    LABELS ${A_LABEL}
    TIMEOUT ${A_TIMEOUT}
    ENVIRONMENT "${env}")
  bramble_label_test(${A_LABEL} ${name})
endfunction()

function(bramble_label_test label)
  set_property(GLOBAL APPEND PROPERTY BRAMBLE_TEST_LABELS ${label})
  set_property(GLOBAL APPEND PROPERTY BRAMBLE_TESTS_${label} ${ARGN})
endfunction()

function(bramble_label_targets)
  get_property(labels GLOBAL PROPERTY BRAMBLE_TEST_LABELS)
  if(NOT labels)
    return()
  endif()
  list(REMOVE_DUPLICATES labels)
  foreach(label IN LISTS labels)
    get_property(programs GLOBAL PROPERTY BRAMBLE_TESTS_${label})
    add_custom_target(tests-${label})
    add_dependencies(tests-${label} ${programs})
  endforeach()
endfunction()

function(bramble_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_DEPS} benchmark::benchmark Threads::Threads)
endfunction()

# libFuzzer targets (clang only, -DBRAMBLE_FUZZ=ON): every library is
# compiled with coverage instrumentation; each fuzzer is registered with
# CTest under the label "fuzz" and runs for BRAMBLE_FUZZ_SECONDS.
#   bramble_fuzzer(<name> SOURCES ... [DEPS ...] [ARGS ...] [SEEDER <program>])
# A SEEDER program, given a folder, writes the starting corpus into it.
option(BRAMBLE_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
set(BRAMBLE_FUZZ_SECONDS 10 CACHE STRING "How long each fuzzer runs under ctest")
if(BRAMBLE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "BRAMBLE_FUZZ needs clang (CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  if(NOT TARGET fuzzers)
    add_custom_target(fuzzers)
  endif()
endif()

function(bramble_fuzzer name)
  cmake_parse_arguments(A "" "SEEDER" "SOURCES;DEPS;ARGS" ${ARGN})
  if(NOT BRAMBLE_FUZZ)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${A_DEPS} Threads::Threads)
  add_dependencies(fuzzers ${name})
  set(workdir ${CMAKE_CURRENT_BINARY_DIR}/${name}.work)
  file(MAKE_DIRECTORY ${workdir})
  set(run $<TARGET_FILE:${name}> -max_total_time=${BRAMBLE_FUZZ_SECONDS} -seed=1 -rss_limit_mb=2048 ${A_ARGS})
  if(A_SEEDER)
    add_dependencies(fuzzers ${A_SEEDER})
    set(corpus ${workdir}/corpus)
    add_test(NAME ${name}
      COMMAND sh -c "mkdir -p '${corpus}' && '$<TARGET_FILE:${A_SEEDER}>' '${corpus}' && exec \"$@\"" sh ${run} ${corpus}
      WORKING_DIRECTORY ${workdir})
  else()
    add_test(NAME ${name} COMMAND ${run} WORKING_DIRECTORY ${workdir})
  endif()
  math(EXPR _timeout "${BRAMBLE_FUZZ_SECONDS} * 6 + 60")
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT ${_timeout}
    ENVIRONMENT "${BRAMBLE_TEST_ENV};BRAMBLE_DEVICE_ROOT=${workdir}/device;BRAMBLE_WINDOW_DIR=${workdir}/windows;BRAMBLE_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
