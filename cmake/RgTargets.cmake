# Helpers shared by every folder: one library per folder, one test program per test file,
# one benchmark or fuzz program per source file.

# rg_add_folder_library(NAME DEPS dep...): a static library made of every .cpp in the
# calling folder (subfolders excluded), with the source root on the include path.
function(rg_add_folder_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# rg_add_gtest(NAME SOURCES src... [LIBS lib...] [TIMEOUT seconds] [ENVIRONMENT k=v...])
# Every test gets a timeout: a modal box that nobody answers must fail the suite, not hang it.
function(rg_add_gtest)
  cmake_parse_arguments(ARG "" "NAME;TIMEOUT" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  if(NOT RG_BUILD_TESTS)
    return()
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME} --gtest_brief=1)
  set_tests_properties(${ARG_NAME} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARG_ENVIRONMENT}")
endfunction()

# rg_add_fuzzer(NAME SOURCE src LIBS lib...): only in the fuzz build (clang, libFuzzer).
function(rg_add_fuzzer)
  cmake_parse_arguments(ARG "" "NAME;SOURCE" "LIBS" ${ARGN})
  if(NOT RG_BUILD_FUZZ)
    return()
  endif()
  add_executable(${ARG_NAME} ${ARG_SOURCE})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS})
  target_link_options(${ARG_NAME} PRIVATE -fsanitize=fuzzer)
endfunction()

# rg_add_bench(NAME SOURCES src... LIBS lib...): a Google Benchmark program, built with the
# bench option; the `bench` target builds them all.
function(rg_add_bench)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT RG_BUILD_BENCH)
    return()
  endif()
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  target_include_directories(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  if(NOT TARGET bench)
    add_custom_target(bench)
  endif()
  add_dependencies(bench ${ARG_NAME})
endfunction()
