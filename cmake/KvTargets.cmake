# Shared settings for every target of the project: warnings, sanitizers and
# precompiled headers, so each CMakeLists only names its sources and links.

add_library(kv_settings INTERFACE)
target_compile_options(kv_settings INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)
target_include_directories(kv_settings INTERFACE ${PROJECT_SOURCE_DIR}/src)
option(KV_WERROR "Treat warnings as errors (./test and CI)" OFF)
if(KV_WERROR)
  target_compile_options(kv_settings INTERFACE -Werror)
endif()
target_compile_definitions(kv_settings INTERFACE
  QT_DISABLE_DEPRECATED_UP_TO=0x060000)
if(KV_SANITIZE)
  target_compile_options(kv_settings INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  target_link_options(kv_settings INTERFACE -fsanitize=address,undefined)
endif()

# Headers that nearly every translation unit of a layer pulls in; compiled once per target.
set(KV_PCH_CORE <QtCore/QString> <QtCore/QVariant> <QtCore/QDateTime> <QtCore/QObject>
  <QtCore/QList> <QtCore/QHash> <functional> <memory> <string> <vector> <optional>)
set(KV_PCH_WIDGETS ${KV_PCH_CORE} <QtWidgets/QWidget> <QtWidgets/QDialog> <QtWidgets/QLabel>
  <QtWidgets/QLineEdit> <QtWidgets/QLayout>)

# kv_library(name [WIDGETS] SOURCES ... [PUBLIC ...] [PRIVATE ...])
function(kv_library name)
  cmake_parse_arguments(A "WIDGETS" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  # One include root for the whole project: headers are named by their path
  # ("platform/db/Dataset.h"), so two subsystems may not shadow each other.
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${A_PUBLIC} PRIVATE kv_settings ${A_PRIVATE})
  if(A_WIDGETS)
    target_precompile_headers(${name} PRIVATE ${KV_PCH_WIDGETS})
  else()
    target_precompile_headers(${name} PRIVATE ${KV_PCH_CORE})
  endif()
endfunction()

# kv_executable(name SOURCES ... [LIBS ...])
function(kv_executable name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE kv_settings ${A_LIBS})
endfunction()

# kv_test(name SOURCES ... [LIBS ...] [LABELS ...]): a GoogleTest binary.
# CTest runs it one suite per process (large suites in chunks, see
# KvDiscoverSuites.cmake): a process per case would spend more time loading
# Qt and the sanitizers, and building fixtures, than testing. Tests are named
# "binary:Suite" (or "binary:Suite:2"); one case alone is
# `build/test/tests/.../binary --gtest_filter=Suite.Case`.
set(KV_DISCOVER_SUITES ${CMAKE_CURRENT_LIST_DIR}/KvDiscoverSuites.cmake)
function(kv_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE kv_settings GTest::gtest GTest::gtest_main ${A_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_precompile_headers(${name} PRIVATE ${KV_PCH_CORE} <gtest/gtest.h>)
  set(ctest_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_suites.cmake)
  string(REPLACE ";" "," labels "${A_LABELS}")
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
      ${CMAKE_COMMAND} -D EXE=$<TARGET_FILE:${name}> -D OUT=${ctest_file} -D TARGET=${name}
        -D LABELS=${labels} -P ${KV_DISCOVER_SUITES}
    BYPRODUCTS ${ctest_file}
    VERBATIM)
  # Before the first build there is nothing to list yet.
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_include.cmake)
  file(WRITE ${include_file} "if(EXISTS \"${ctest_file}\")\n  include(\"${ctest_file}\")\n"
    "else()\n  add_test(${name}_NOT_BUILT ${name}_NOT_BUILT)\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()

# kv_bench(name SOURCES ... [LIBS ...]): built with the rest, run by scripts/bench.
function(kv_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE kv_settings benchmark::benchmark ${A_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/bench)
endfunction()
