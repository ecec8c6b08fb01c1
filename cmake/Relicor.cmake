# One static library per core subsystem folder. Each library links only the layers below it,
# so an include that goes the wrong way fails to build.
function(relicor_core_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.h)
  if(NOT sources)
    # A layer that has no code yet still passes its dependencies on.
    add_library(relicor_${name} INTERFACE)
    target_include_directories(relicor_${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(relicor_${name} INTERFACE ${ARG_DEPENDS})
    return()
  endif()
  add_library(relicor_${name} STATIC ${sources} ${headers})
  target_include_directories(relicor_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(relicor_${name} PUBLIC ${ARG_DEPENDS} PRIVATE relicor_warnings)
endfunction()

# One test executable per test folder; every *Test.cpp in it is part of it.
function(relicor_test_folder name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_include_directories(test_${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(test_${name} PRIVATE ${ARG_LIBS} relicor_testsupport GTest::gtest_main
                                             relicor_warnings)
  set_target_properties(test_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(test_${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
