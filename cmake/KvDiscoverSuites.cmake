# Run after a test binary is built: lists its GoogleTest cases and writes one
# CTest test per suite (a suite of more than KV_CHUNK cases is cut into
# chunks), so a binary starts a few dozen processes instead of one per case.
# A failing chunk shows GoogleTest's own "[  FAILED  ] Suite.Case" lines.
#
# Variables: EXE (the binary), OUT (the CTest file to write), TARGET (the
# binary's name, the first part of each test name), LABELS (separated by
# commas), CHUNK, INSTALLATION_CACHE (the folder the binary's processes share
# their installations in).

execute_process(
  COMMAND "${EXE}" --gtest_list_tests
  RESULT_VARIABLE result
  OUTPUT_VARIABLE listing
  ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${EXE} --gtest_list_tests failed (${result}):\n${errors}")
endif()

string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")

set(suites "")
set(suite "")
foreach(line IN LISTS lines)
  if(line MATCHES "^([^ #][^ ]*)\\.")
    set(suite "${CMAKE_MATCH_1}")
    list(APPEND suites "${suite}")
    string(MAKE_C_IDENTIFIER "${suite}" key)
    set(cases_${key} "")
  elseif(line MATCHES "^  ([^ ]+)")
    string(MAKE_C_IDENTIFIER "${suite}" key)
    list(APPEND cases_${key} "${CMAKE_MATCH_1}")
  endif()
endforeach()

string(REPLACE "," ";" labels "${LABELS}")
if(NOT CHUNK)
  set(CHUNK 40)
endif()

set(script "# Written by KvDiscoverSuites.cmake after ${TARGET} was built.\n")
foreach(suite IN LISTS suites)
  string(MAKE_C_IDENTIFIER "${suite}" key)
  list(LENGTH cases_${key} count)
  if(count EQUAL 0)
    continue()
  endif()
  if(count LESS_EQUAL CHUNK)
    set(names "${TARGET}:${suite}")
    set(filters "${suite}.*")
  else()
    set(names "")
    set(filters "")
    set(part 1)
    set(filter "")
    set(n 0)
    foreach(case IN LISTS cases_${key})
      if(filter STREQUAL "")
        set(filter "${suite}.${case}")
      else()
        string(APPEND filter ":${suite}.${case}")
      endif()
      math(EXPR n "${n} + 1")
      if(n EQUAL CHUNK)
        list(APPEND names "${TARGET}:${suite}:${part}")
        list(APPEND filters "${filter}")
        math(EXPR part "${part} + 1")
        set(filter "")
        set(n 0)
      endif()
    endforeach()
    if(NOT filter STREQUAL "")
      list(APPEND names "${TARGET}:${suite}:${part}")
      list(APPEND filters "${filter}")
    endif()
  endif()
  foreach(name filter IN ZIP_LISTS names filters)
    string(APPEND script
      "add_test([==[${name}]==] [==[${EXE}]==] [==[--gtest_filter=${filter}]==])\n"
      "set_tests_properties([==[${name}]==] PROPERTIES"
      " ENVIRONMENT [==[QT_QPA_PLATFORM=offscreen;KV_TEST_INSTALLATION_CACHE=${INSTALLATION_CACHE}]==]"
      " FIXTURES_REQUIRED kv_installation_cache LABELS [==[${labels}]==])\n")
  endforeach()
endforeach()

file(WRITE "${OUT}" "${script}")
