# Packs the 32-bit Windows build into quillbay-<version>-win32.zip: the
# seven programs laid out as they go into the macro directory (tavlet.exe in
# its tools folder) and a short install note.
#
#   cmake -DBUILD_DIR=<i686 build dir> [-DOUTPUT_DIR=<dir>] -P cmake/package_win32.cmake
#
# The build directory is brought up to date first. OUTPUT_DIR defaults to
# BUILD_DIR.
cmake_minimum_required(VERSION 3.20)

if(NOT BUILD_DIR)
  message(FATAL_ERROR "BUILD_DIR must name a build configured with cmake/toolchain-i686-w64-mingw32.cmake")
endif()
get_filename_component(BUILD_DIR "${BUILD_DIR}" ABSOLUTE)
if(NOT OUTPUT_DIR)
  set(OUTPUT_DIR "${BUILD_DIR}")
endif()
get_filename_component(OUTPUT_DIR "${OUTPUT_DIR}" ABSOLUTE)
get_filename_component(source_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

# The version is the one project() declares.
file(STRINGS "${source_dir}/CMakeLists.txt" project_line REGEX "^project\\(Quillbay VERSION ")
string(REGEX MATCH "VERSION ([0-9.]+)" _ "${project_line}")
set(version "${CMAKE_MATCH_1}")
if(NOT version)
  message(FATAL_ERROR "no project version in ${source_dir}/CMakeLists.txt")
endif()

# Only a 32-bit build goes into the package: the programs are made for
# 32-bit Windows.
file(STRINGS "${BUILD_DIR}/CMakeCache.txt" processor_line REGEX "^CMAKE_TOOLCHAIN_FILE:")
if(NOT processor_line MATCHES "i686")
  message(FATAL_ERROR "${BUILD_DIR} is not the i686 build (${processor_line})")
endif()

execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BUILD_DIR}" -j2 RESULT_VARIABLE build_result)
if(NOT build_result EQUAL 0)
  message(FATAL_ERROR "building ${BUILD_DIR} failed")
endif()

set(package_name "quillbay-${version}-win32")
set(stage "${BUILD_DIR}/package/${package_name}")
file(REMOVE_RECURSE "${BUILD_DIR}/package")
file(MAKE_DIRECTORY "${stage}/tools")

foreach(program ravick logverdict needapps fmtmenu pathforms regpurge tavlet)
  set(exe "${BUILD_DIR}/bin/${program}.exe")
  if(NOT EXISTS "${exe}")
    message(FATAL_ERROR "${exe} is missing; every program must be built before packaging")
  endif()
  if(program STREQUAL "tavlet")
    file(COPY "${exe}" DESTINATION "${stage}/tools")
  else()
    file(COPY "${exe}" DESTINATION "${stage}")
  endif()
endforeach()

# The copies lose their debug information; the build keeps it.
file(STRINGS "${BUILD_DIR}/CMakeCache.txt" strip_line REGEX "^CMAKE_STRIP:")
string(REGEX REPLACE "^[^=]*=" "" strip "${strip_line}")
if(strip)
  file(GLOB_RECURSE staged_programs "${stage}/*.exe")
  execute_process(COMMAND "${strip}" --strip-debug ${staged_programs} RESULT_VARIABLE strip_result)
  if(NOT strip_result EQUAL 0)
    message(FATAL_ERROR "stripping the programs failed")
  endif()
endif()

file(WRITE "${stage}/INSTALL.txt"
"Quillbay ${version} for 32-bit Windows\r
\r
1. Copy ravick.exe, logverdict.exe, needapps.exe, fmtmenu.exe, pathforms.exe\r
   and regpurge.exe into the macro directory of the editor's TeX macros\r
   (the folder named by MacroDir in HKEY_CURRENT_USER\\Software\\Corve_Macro\\\r
   Quillbay\\MacroConfig).\r
2. Copy tools\\tavlet.exe into the tools folder of that macro directory; the\r
   TeX engine starts it from there when you choose to edit an error.\r
\r
The programs need no DLL of their own and no installer.\r
")

file(MAKE_DIRECTORY "${OUTPUT_DIR}")
set(zip "${OUTPUT_DIR}/${package_name}.zip")
file(REMOVE "${zip}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${zip}" --format=zip "${package_name}"
                WORKING_DIRECTORY "${BUILD_DIR}/package" RESULT_VARIABLE zip_result)
if(NOT zip_result EQUAL 0)
  message(FATAL_ERROR "writing ${zip} failed")
endif()
message(STATUS "wrote ${zip}")
