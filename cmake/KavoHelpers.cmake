# One static library per src/ folder, built from every source file in it.
function(kavo_library name)
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# Links a program with the allocator chosen at the top (none for checked builds). Nothing names
# its symbols: the linker must keep it all the same.
function(kavo_use_program_allocator target)
  if(TARGET PkgConfig::TCMALLOC)
    target_link_libraries(${target} PRIVATE -Wl,--push-state,--no-as-needed PkgConfig::TCMALLOC -Wl,--pop-state)
  endif()
endfunction()

# One test executable per subsystem: every .cpp in the folder, run by ctest.
function(kavo_test name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE kavo_test_support ${ARGN})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
