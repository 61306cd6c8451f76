# Shared build settings for every target of the tree.

# Warnings for our own code.
function(quillbay_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# quillbay_program(<name> CONSOLE|WINDOWS SOURCES <files...> [LIBS <libs...>])
# A program of the system: built into bin/<name>, console or window
# subsystem on Windows, statically linked run-time there.
function(quillbay_program name)
  cmake_parse_arguments(ARG "CONSOLE;WINDOWS" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  quillbay_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} quillbay_platform)
  if(WIN32)
    target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++)
    if(ARG_WINDOWS)
      target_link_options(${name} PRIVATE -mwindows)
    else()
      target_link_options(${name} PRIVATE -mconsole)
    endif()
  elseif(NOT QUILLBAY_SANITIZE AND NOT QUILLBAY_FUZZ)
    # Each program runs for milliseconds; loading the C++ run-time as a
    # shared library would cost more than the program's own work.
    target_link_options(${name} PRIVATE -static-libstdc++ -static-libgcc)
  endif()
endfunction()

# quillbay_unit_tests(<name> SOURCES <files...> [LIBS <libs...>])
# A GoogleTest program of the native build. The code page is fixed for a
# process, so it runs once per code page; cases for the other code page skip
# themselves visibly.
function(quillbay_unit_tests name)
  if(CMAKE_CROSSCOMPILING)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  quillbay_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} quillbay_common quillbay_platform GTest::gtest_main)
  foreach(code_page 932 1252)
    add_test(NAME ${name}_cp${code_page} COMMAND ${name})
    set_tests_properties(${name}_cp${code_page} PROPERTIES ENVIRONMENT "QUILLBAY_CODEPAGE=${code_page}")
  endforeach()
endfunction()

# quillbay_program_with_logic(<name> CONSOLE|WINDOWS LOGIC <files...> LIBS <libs...>)
# A program whose work lives in a library <name>_logic, so that its unit
# tests (tests/unit/<name>/*.cpp, as <name>_unit_tests) and fuzz targets
# reach it, with a short main.cpp over it.
function(quillbay_program_with_logic name)
  cmake_parse_arguments(ARG "CONSOLE;WINDOWS" "" "LOGIC;LIBS" ${ARGN})
  add_library(${name}_logic STATIC ${ARG_LOGIC})
  target_include_directories(${name}_logic PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name}_logic PUBLIC ${ARG_LIBS})
  quillbay_warnings(${name}_logic)

  if(ARG_CONSOLE)
    quillbay_program(${name} CONSOLE SOURCES main.cpp LIBS ${name}_logic)
  else()
    quillbay_program(${name} WINDOWS SOURCES main.cpp LIBS ${name}_logic)
  endif()

  file(GLOB test_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/${name}/*.cpp)
  if(test_sources)
    quillbay_unit_tests(${name}_unit_tests SOURCES ${test_sources} LIBS ${name}_logic)
  endif()
endfunction()
