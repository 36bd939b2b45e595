# One folder is one static library: every .cpp in it is a source, and it links
# only the modules below it.
function(quorvane_module name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(sources)
    add_library(quorvane_${name} STATIC ${sources} ${headers})
    target_include_directories(quorvane_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(quorvane_${name} PUBLIC ${ARG_DEPS})
  else()
    # A module that is still headers only.
    add_library(quorvane_${name} INTERFACE)
    target_include_directories(quorvane_${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(quorvane_${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# One test program per module folder under tests/, registered with CTest.
function(quorvane_test_folder name)
  cmake_parse_arguments(ARG "" "LABEL" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(test_${name} PRIVATE
    QUORVANE_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data"
    QUORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(test_${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS ${ARG_LABEL})
endfunction()
