# Options against the real registry under wine.
qv_add_gtest(options_win32_tests
  SOURCES options_test_support.cpp options_registry_win32_test.cpp
  LIBS qv_options
  RESOURCE_LOCK player_registry)
target_include_directories(options_win32_tests PRIVATE ${CMAKE_SOURCE_DIR})

add_executable(options_probe options_probe.cpp options_test_support.cpp)
target_include_directories(options_probe PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(options_probe PRIVATE qv_options)
target_link_options(options_probe PRIVATE -municode)

add_test(NAME win32.options_seeded_registry
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/options_seeded_test.sh ${QV_WINE_ROOT}
          ${CMAKE_CURRENT_BINARY_DIR}/options_seeded $<TARGET_FILE:options_probe>)
set_tests_properties(win32.options_seeded_registry PROPERTIES LABELS win32 TIMEOUT 180 RESOURCE_LOCK player_registry)
