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

# What a cold ./test costs is mostly the compiler and the linker (see "The test
# suite" in docs/PERFORMANCE.md); these keep that cost within its budget.
#
# The sanitizer build keeps line tables and function names (-g1): enough for
# the sanitizers' stack traces and for a debugger's backtrace, at about four
# fifths of the compile time and two thirds of the object size of full debug
# information. Configure with -DKV_FULL_DEBUG_INFO=ON to see variables in gdb.
option(KV_FULL_DEBUG_INFO "Full debug information in the sanitizer build" OFF)
if(KV_SANITIZE AND NOT KV_FULL_DEBUG_INFO AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options($<$<CONFIG:Debug>:-g1>)
endif()

# lld links the large debug, sanitized binaries in about a third of the time
# of the default linker; scripts/install-deps installs it.
option(KV_USE_LLD "Link with lld when the compiler accepts it" ON)
if(KV_USE_LLD)
  include(CheckLinkerFlag)
  check_linker_flag(CXX -fuse-ld=lld KV_HAVE_LLD)
  if(KV_HAVE_LLD)
    add_link_options(-fuse-ld=lld)
  endif()
endif()

# Unity builds: the sources of a target are compiled a few at a time in one
# translation unit, so the Qt, standard library and GoogleTest templates they
# share are instantiated, instrumented and written out once per batch rather
# than once per file. A target whose files do not compile together opts out
# with set_target_properties(NAME PROPERTIES UNITY_BUILD OFF).
option(KV_UNITY_BUILD "Compile each target's sources in batches" ON)
set(KV_UNITY_BATCH 8)

# Headers that nearly every translation unit of a layer pulls in; compiled once per target.
set(KV_PCH_CORE <QtCore/QString> <QtCore/QVariant> <QtCore/QDateTime> <QtCore/QObject>
  <QtCore/QList> <QtCore/QHash> <functional> <memory> <string> <vector> <optional>)
set(KV_PCH_WIDGETS ${KV_PCH_CORE} <QtWidgets/QWidget> <QtWidgets/QDialog> <QtWidgets/QLabel>
  <QtWidgets/QLineEdit> <QtWidgets/QLayout>)

# Each set is compiled once for the whole build, by a target of its own, and
# reused by every library and test (REUSE_FROM): with sanitizers and debug
# information a precompiled header costs as much as several sources, and most
# targets have only a handful. GCC refuses a header precompiled with macros
# its user lacks (-Winvalid-pch is an error here), so each owner links only
# what all of its users link.
set(KV_PCH_SOURCE ${CMAKE_BINARY_DIR}/kv_pch_owner.cpp)
if(NOT EXISTS ${KV_PCH_SOURCE})
  file(WRITE ${KV_PCH_SOURCE} "// Owner of a shared precompiled header.\n")
endif()
function(kv_pch_owner name)
  add_library(${name} OBJECT ${KV_PCH_SOURCE})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF UNITY_BUILD OFF)
  target_link_libraries(${name} PRIVATE kv_settings ${ARGN})
endfunction()
kv_pch_owner(kv_pch_core Qt6::Core)
target_precompile_headers(kv_pch_core PRIVATE ${KV_PCH_CORE})
kv_pch_owner(kv_pch_widgets Qt6::Widgets)
target_precompile_headers(kv_pch_widgets PRIVATE ${KV_PCH_WIDGETS})

function(kv_unity name)
  if(KV_UNITY_BUILD)
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${KV_UNITY_BATCH})
  endif()
endfunction()

# kv_library(name [WIDGETS] SOURCES ... [PUBLIC ...] [PRIVATE ...])
function(kv_library name)
  cmake_parse_arguments(A "WIDGETS" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  # One include root for the whole project: headers are named by their path
  # ("platform/db/Dataset.h"), so two subsystems may not shadow each other.
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${A_PUBLIC} PRIVATE kv_settings ${A_PRIVATE})
  if(A_WIDGETS)
    target_link_libraries(${name} PRIVATE Qt6::Widgets)
    target_precompile_headers(${name} REUSE_FROM kv_pch_widgets)
  else()
    target_precompile_headers(${name} REUSE_FROM kv_pch_core)
  endif()
  kv_unity(${name})
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
# The installations a CTest run's processes share (tests/support/InstallationClones.h).
set(KV_INSTALLATION_CACHE ${CMAKE_BINARY_DIR}/installation-cache)
function(kv_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE kv_settings GTest::gtest GTest::gtest_main ${A_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  if(NOT TARGET kv_pch_tests)
    kv_pch_owner(kv_pch_tests Qt6::Core GTest::gtest)
    target_precompile_headers(kv_pch_tests PRIVATE ${KV_PCH_CORE} <gtest/gtest.h>)
  endif()
  target_precompile_headers(${name} REUSE_FROM kv_pch_tests)
  # In a batch a test file is no longer the main file, and GCC then warns that
  # a test deriving from a fixture in an anonymous namespace has internal
  # linkage, which is exactly what a file-local fixture means.
  target_compile_options(${name} PRIVATE $<$<CXX_COMPILER_ID:GNU>:-Wno-subobject-linkage>)
  kv_unity(${name})
  set(ctest_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_suites.cmake)
  string(REPLACE ";" "," labels "${A_LABELS}")
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
      ${CMAKE_COMMAND} -D EXE=$<TARGET_FILE:${name}> -D OUT=${ctest_file} -D TARGET=${name}
        -D LABELS=${labels} -D INSTALLATION_CACHE=${KV_INSTALLATION_CACHE} -P ${KV_DISCOVER_SUITES}
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
