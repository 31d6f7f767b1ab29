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

# One test executable per subsystem: every .cpp in the folder. ctest runs each test class on its
# own (test_x.Class runs "test_x Class"), so that ctest -j keeps every core busy and a failure
# names its class. The classes are the KAVO_TEST(Class) lines of the sources, read again whenever
# a source changes.
function(kavo_test name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE kavo_test_support ${ARGN})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${sources})
  set(classes "")
  foreach(source ${sources})
    file(STRINGS ${source} lines REGEX "^KAVO_TEST\\([A-Za-z_0-9]+\\)")
    foreach(line ${lines})
      string(REGEX REPLACE "^KAVO_TEST\\(([A-Za-z_0-9]+)\\).*" "\\1" class "${line}")
      list(APPEND classes ${class})
    endforeach()
  endforeach()
  if(NOT classes)
    message(FATAL_ERROR "${name}: no KAVO_TEST(Class) line in ${CMAKE_CURRENT_SOURCE_DIR}")
  endif()
  foreach(class ${classes})
    add_test(NAME ${name}.${class} COMMAND ${name} ${class})
    set_tests_properties(${name}.${class} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS ${name})
  endforeach()
endfunction()

# Stops the configuration when one of the targets links Qt Widgets, itself or through any library
# it uses: the libraries below the user interface promise to work without widgets, and tools and
# fuzz targets built on them rely on it. Call it once every target is defined.
function(kavo_require_widget_free)
  foreach(target ${ARGN})
    set(queue ${target})
    set(seen ${target})
    set(via_${target} ${target})
    while(queue)
      list(POP_FRONT queue current)
      get_target_property(imported ${current} IMPORTED)
      set(links "")
      if(NOT imported)
        get_target_property(links ${current} LINK_LIBRARIES)
      endif()
      get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
      foreach(item IN LISTS links interface)
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" item "${item}")
        if(item STREQUAL "Qt6::Widgets" OR item STREQUAL "Qt::Widgets")
          message(FATAL_ERROR "${target} must not link Qt Widgets, but does: ${via_${current}} -> ${item}")
        endif()
        if(TARGET "${item}" AND NOT item IN_LIST seen)
          list(APPEND seen ${item})
          list(APPEND queue ${item})
          set(via_${item} "${via_${current}} -> ${item}")
        endif()
      endforeach()
    endwhile()
  endforeach()
endfunction()
