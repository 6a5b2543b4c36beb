include(GoogleTest)

if(WIN32 AND CMAKE_CROSSCOMPILING)
  # Every Win32 test program runs through wine in the project's private prefix.
  set(QV_WINE_ROOT "${CMAKE_BINARY_DIR}/wine")
  set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/scripts/wine/run;--root;${QV_WINE_ROOT}"
      CACHE STRING "" FORCE)
  set(QV_TEST_LABEL win32)
else()
  set(QV_TEST_LABEL native)
endif()

# qv_add_gtest(NAME SOURCES... [LIBS libs...])
# A GoogleTest program whose cases are discovered when ctest runs, so that the
# Win32 build needs no wine at build time.
function(qv_add_gtest name)
  cmake_parse_arguments(ARG "" "RESOURCE_LOCK" "SOURCES;LIBS" ${ARGN})
  set(extra_properties)
  if(ARG_RESOURCE_LOCK)
    # Cases that share one outside resource (the wine registry) never overlap.
    set(extra_properties RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
  endif()
  add_executable(${name} ${ARG_SOURCES} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES LABELS ${QV_TEST_LABEL} TIMEOUT 300 ${extra_properties})
endfunction()
