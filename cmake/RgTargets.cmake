# Helpers shared by every folder: one library per folder, one test program per test file,
# one benchmark or fuzz program per source file.

# The libraries form one downward order; each names its layer, and a library may only link
# libraries of lower layers (docs/ARCHITECTURE.md lists them):
set(RG_LAYERS
    base         # platform/base
    system       # platform/posix or platform/win32: the operating system
    engines      # platform/ini, registry, pe, ui
    standins     # platform/standin: Windows services that Linux lacks
    platform     # the platform as a whole; platform/qt
    services
    foundations  # startup, fileinfo, resources
    programs
    persistence
    wizard
    tools)       # the support tool's commands

# rg_check_layer(NAME LAYER layer DEPS dep...): fails the configuration when a library links one
# of its own layer or above.
function(rg_check_layer name layer)
  list(FIND RG_LAYERS ${layer} own)
  if(own LESS 0)
    message(FATAL_ERROR "${name}: unknown layer ${layer}")
  endif()
  foreach(dep ${ARGN})
    if(TARGET ${dep})
      get_target_property(dep_layer ${dep} RG_LAYER)
      if(dep_layer)
        list(FIND RG_LAYERS ${dep_layer} below)
        if(NOT below LESS own)
          message(FATAL_ERROR "${name} (layer ${layer}) links ${dep} (layer ${dep_layer}): "
                              "libraries link only downwards")
        endif()
      endif()
    endif()
  endforeach()
  set_property(TARGET ${name} PROPERTY RG_LAYER ${layer})
endfunction()

# rg_add_folder_library(NAME LAYER layer [SOURCES src...] DEPS dep...): a static library made of
# every .cpp in the calling folder (subfolders excluded) or of the given sources, with the
# source root on the include path.
function(rg_add_folder_library name)
  cmake_parse_arguments(ARG "" "LAYER" "SOURCES;DEPS" ${ARGN})
  if(ARG_SOURCES)
    set(sources ${ARG_SOURCES})
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
  rg_check_layer(${name} ${ARG_LAYER} ${ARG_DEPS})
endfunction()

# Where the built test fixtures are (tests/fixtures), for tests, benchmarks and fuzz targets.
# Programs built for Windows run under Wine, which shows the build machine's files on drive Z:.
function(rg_use_fixtures target)
  set(drive "")
  if(CMAKE_CROSSCOMPILING AND WIN32)
    set(drive "Z:")
  endif()
  target_compile_definitions(${target} PRIVATE
    RG_PE_FIXTURES="${drive}${PROJECT_BINARY_DIR}/tests/fixtures/pe"
    RG_SYSTEM_FIXTURES="${drive}${PROJECT_BINARY_DIR}/tests/fixtures/system"
    RG_ICON_FIXTURES="${drive}${PROJECT_SOURCE_DIR}/tests/fixtures/pe")
  if(TARGET rg_fixture_files)
    add_dependencies(${target} rg_fixture_files)
  endif()
endfunction()

# rg_add_gtest(NAME SOURCES src... [LIBS lib...] [TIMEOUT seconds] [ENVIRONMENT k=v...])
# Every test gets a timeout: a modal box that nobody answers must fail the suite, not hang it.
function(rg_add_gtest)
  cmake_parse_arguments(ARG "" "NAME;TIMEOUT" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  if(NOT RG_BUILD_TESTS OR ARG_NAME IN_LIST RG_LINUX_ONLY_TESTS)
    return()
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  rg_use_fixtures(${ARG_NAME})
  add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME} --gtest_brief=1)
  set_tests_properties(${ARG_NAME} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARG_ENVIRONMENT}")
  if(CMAKE_CROSSCOMPILING AND WIN32)
    set_tests_properties(${ARG_NAME} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
endfunction()

# rg_add_fuzzer(NAME SOURCE src LIBS lib...): only in the fuzz build (clang, libFuzzer).
function(rg_add_fuzzer)
  cmake_parse_arguments(ARG "" "NAME;SOURCE" "LIBS" ${ARGN})
  if(NOT RG_BUILD_FUZZ)
    return()
  endif()
  add_executable(${ARG_NAME} ${ARG_SOURCE})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS})
  target_include_directories(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
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
  rg_use_fixtures(${ARG_NAME})
  if(NOT TARGET bench)
    add_custom_target(bench)
  endif()
  add_dependencies(bench ${ARG_NAME})
endfunction()
