# The stand-in rekordbox window and the display harness (Xvfb, the stand-in
# as a child process, a covering window) of the end-to-end tests and of the
# benchmarks that read a window. Included from tests/support and, when the
# tests are not built, from bench.
set(harness ${CMAKE_CURRENT_LIST_DIR})

add_executable(standin_rekordbox
  ${harness}/standin_rekordbox/main.cpp
  ${harness}/standin_rekordbox/standin_window.cpp
  ${harness}/standin_rekordbox/deck_panel.cpp
  ${harness}/standin_rekordbox/mixer_panel.cpp
  ${harness}/standin_rekordbox/browser_panel.cpp)
target_link_libraries(standin_rekordbox PRIVATE Qt6::Widgets)

add_library(kesta_test_display STATIC
  ${harness}/xvfb_server.cpp
  ${harness}/standin_rekordbox.cpp
  ${harness}/covering_window.cpp)
target_include_directories(kesta_test_display PUBLIC ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(kesta_test_display PUBLIC nlohmann_json::nlohmann_json PRIVATE PkgConfig::XCB)
target_compile_definitions(kesta_test_display PRIVATE KESTA_STANDIN_REKORDBOX="$<TARGET_FILE:standin_rekordbox>")
add_dependencies(kesta_test_display standin_rekordbox)
