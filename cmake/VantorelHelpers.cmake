# Shared build rules: warnings, sanitizers, the install layout and small helpers for programs,
# shipped data, tests, fuzzers and benchmarks.

add_library(vantorel_options INTERFACE)
target_compile_options(vantorel_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)
if(VANTOREL_SANITIZE)
  target_compile_options(vantorel_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(vantorel_options INTERFACE -fsanitize=address,undefined)
endif()
if(VANTOREL_FUZZ)
  # The libraries carry the coverage marks libFuzzer steers by; only the fuzz targets link its main.
  target_compile_options(vantorel_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
if(VANTOREL_TSAN)
  target_compile_options(vantorel_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(vantorel_options INTERFACE -fsanitize=thread)
endif()

# The installed tree: programs in bin/, shipped data in share/vantorel/. A program finds its data
# from its own folder through VANTOREL_SHARE_FROM_BIN (src/platform/program_folder.h); in the
# build tree the data lies beside the executables instead.
include(GNUInstallDirs)
set(VANTOREL_DATA_DESTINATION "${CMAKE_INSTALL_DATADIR}/vantorel")
file(RELATIVE_PATH VANTOREL_SHARE_FROM_BIN "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_DATADIR}/vantorel")

# vantorel_add_program(NAME sources...): a program of the installed tree (bin/). Tests and build
# tools use add_executable and are not installed.
function(vantorel_add_program name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE vantorel_options)
  install(TARGETS ${name} RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
endfunction()

# vantorel_ship(FILES files... [FOLDER subfolder] [BUILT])
# Shipped data: beside the executables in the build tree and in share/vantorel when installed,
# in FOLDER below them when given. Source files are copied beside the executables; BUILT files are
# made there by a build rule and only installed.
function(vantorel_ship)
  cmake_parse_arguments(ARG "BUILT" "FOLDER" "FILES" ${ARGN})
  set(build_folder "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  set(install_folder "${VANTOREL_DATA_DESTINATION}")
  if(ARG_FOLDER)
    string(APPEND build_folder "/${ARG_FOLDER}")
    string(APPEND install_folder "/${ARG_FOLDER}")
  endif()
  foreach(file IN LISTS ARG_FILES)
    if(NOT ARG_BUILT)
      get_filename_component(name "${file}" NAME)
      configure_file("${file}" "${build_folder}/${name}" COPYONLY)
      set(file "${build_folder}/${name}")
    endif()
    install(FILES "${file}" DESTINATION "${install_folder}")
  endforeach()
endfunction()

# vantorel_add_library(NAME sources... PUBLIC libs... PRIVATE libs...)
# Called from src/<area>/CMakeLists.txt. Headers are included as "<area>/name.h". Each library
# sees only its own folder and those of the libraries it links, through an include root of its
# own that holds one link to its folder: an include of a library it does not use fails to build.
function(vantorel_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  get_filename_component(area "${CMAKE_CURRENT_SOURCE_DIR}" NAME)
  set(root "${CMAKE_BINARY_DIR}/include/${area}")
  file(MAKE_DIRECTORY "${root}")
  file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}" "${root}/${area}" SYMBOLIC)
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC "${root}")
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE} vantorel_options)
endfunction()

find_package(GTest REQUIRED)
include(GoogleTest)

# vantorel_add_test(NAME sources... DEPS libs... LABEL label)
function(vantorel_add_test name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;DEPS" ${ARGN})
  if(NOT ARG_LABEL)
    set(ARG_LABEL unit)
  endif()
  add_executable(${name} ${ARG_SOURCES} "${PROJECT_SOURCE_DIR}/tests/support/leak_suppressions.cpp")
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} vantorel_test_support GTest::gtest GTest::gtest_main
                        vantorel_options)
  target_compile_definitions(${name} PRIVATE
    VANTOREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}" VANTOREL_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  gtest_discover_tests(${name} PROPERTIES LABELS ${ARG_LABEL} DISCOVERY_TIMEOUT 60)
endfunction()

# vantorel_add_test_support(NAME HEADERS files... SOURCES files... PUBLIC libs...)
# Called from tests/support/CMakeLists.txt. Headers are included as "support/name.h"; like the
# libraries, a test sees only the headers of the support parts it links.
function(vantorel_add_test_support name)
  cmake_parse_arguments(ARG "" "" "HEADERS;SOURCES;PUBLIC" ${ARGN})
  set(root "${CMAKE_BINARY_DIR}/include/${name}")
  file(MAKE_DIRECTORY "${root}/support")
  foreach(header IN LISTS ARG_HEADERS)
    file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}/${header}" "${root}/support/${header}" SYMBOLIC)
  endforeach()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC "${root}")
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE vantorel_options)
endfunction()

# vantorel_add_fuzzer(NAME SOURCE file DEPS libs... CORPUS dir)
function(vantorel_add_fuzzer name)
  cmake_parse_arguments(ARG "" "SOURCE;CORPUS" "DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCE} "${PROJECT_SOURCE_DIR}/tests/support/leak_suppressions.cpp")
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} vantorel_options)
  set_property(GLOBAL APPEND PROPERTY VANTOREL_FUZZERS "${name}|${ARG_CORPUS}")
endfunction()

# vantorel_add_benchmark(NAME sources... DEPS libs...)
function(vantorel_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main vantorel_options)
endfunction()
