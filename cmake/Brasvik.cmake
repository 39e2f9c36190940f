# One static library per layer folder. Sources are every .cpp below the folder except the
# *_test.cpp files, which form the layer's test program <layer>_tests.
set(BRASVIK_WARNINGS -Wall -Wextra -Werror)

function(brasvik_layer name)
  cmake_parse_arguments(L "" "" "DEPS;TEST_DEPS" ${ARGN})
  file(GLOB_RECURSE all_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(sources ${all_sources})
  set(tests ${all_sources})
  list(FILTER sources EXCLUDE REGEX "(_test|_main|/main)\\.cpp$")
  list(FILTER tests INCLUDE REGEX "_test\\.cpp$")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${name} PRIVATE ${BRASVIK_WARNINGS})
    target_link_libraries(${name} PUBLIC ${L_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${L_DEPS})
  endif()
  if(BRASVIK_TESTS AND tests)
    add_executable(${name}_tests ${tests})
    set_target_properties(${name}_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_compile_options(${name}_tests PRIVATE ${BRASVIK_WARNINGS})
    target_link_libraries(${name}_tests PRIVATE ${name} ${L_TEST_DEPS} GTest::gmock GTest::gtest_main)
    target_compile_definitions(${name}_tests PRIVATE
      BRASVIK_SOURCE_DIR="${PROJECT_SOURCE_DIR}" BRASVIK_BINARY_DIR="${CMAKE_BINARY_DIR}")
    add_dependencies(${name}_tests program_data)
    gtest_discover_tests(${name}_tests DISCOVERY_MODE PRE_TEST
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
      PROPERTIES ENVIRONMENT "BRASVIK_BINARY_DIR=${CMAKE_BINARY_DIR}" TIMEOUT 120)
  endif()
endfunction()

include(GoogleTest)
