# kesta_library(<target> [SOURCES ...] [DEPS ...])
# One static library per source folder; its headers are included as "folder/file.h" from src/.
# A folder of headers alone (no SOURCES) is an interface library.
function(kesta_library target)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(ARG_SOURCES)
    add_library(${target} STATIC ${ARG_SOURCES})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# kesta_test(<target> SOURCES ... [DEPS ...])
# One test program per folder, its cases registered with CTest one by one.
function(kesta_test target)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE kesta_test_support ${ARG_DEPS})
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "OMP_THREAD_LIMIT=1")
endfunction()

# kesta_bench(<target> SOURCES ... [DEPS ...])
function(kesta_bench target)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE benchmark::benchmark ${ARG_DEPS})
endfunction()
