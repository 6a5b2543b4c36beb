# The playlist on the real file system with the real engines under wine.
qv_add_gtest(playlist_win32_tests SOURCES playlist_win32_test.cpp LIBS qv_playlist_test_support shell32)
target_compile_definitions(playlist_win32_tests PRIVATE QV_FIXTURES_DIR="${QV_FIXTURES_DIR}")
add_dependencies(playlist_win32_tests fixtures)
