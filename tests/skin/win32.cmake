# Win32 tests of the skin library, the effect-host side and fxprobe; they run
# beside skinlib.dll and fxprobe.exe.
add_library(qv_skin_test_support STATIC win32_test_support.cpp)
target_link_libraries(qv_skin_test_support PUBLIC user32 gdi32)

qv_add_gtest(skinlib_tests SOURCES skinlib_test.cpp LIBS skinlib qv_skin_test_support)
target_link_options(skinlib_tests PRIVATE -static-libgcc -static-libstdc++)

qv_add_gtest(effecthost_tests SOURCES effect_host_test.cpp LIBS qv_effecthost qv_skin_test_support)
target_include_directories(effecthost_tests PRIVATE ${CMAKE_SOURCE_DIR})
add_dependencies(effecthost_tests fxprobe)

set_target_properties(skinlib_tests effecthost_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QV_APP_BIN_DIR})

# CSkin with the built-in pictures compiled in, and the generated skins.
qv_add_gtest(cskin_tests SOURCES cskin_test.cpp LIBS qv_skin qv_builtin_art qv_skin_test_support)
target_compile_definitions(cskin_tests PRIVATE QV_ART_DIR="${QV_ART_DIR}")
target_link_options(cskin_tests PRIVATE -static-libgcc -static-libstdc++)
set_target_properties(cskin_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QV_APP_BIN_DIR})

# The missing "skin.ini" failure, in a process of its own.
add_executable(missing_skin_ini missing_skin_ini_main.cpp)
target_link_libraries(missing_skin_ini PRIVATE qv_skin)
qv_add_gtest(missing_skin_ini_tests SOURCES missing_skin_ini_test.cpp LIBS qv_skin_core qv_skin_test_support)
add_dependencies(missing_skin_ini_tests missing_skin_ini)
set_target_properties(missing_skin_ini missing_skin_ini_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QV_APP_BIN_DIR})
