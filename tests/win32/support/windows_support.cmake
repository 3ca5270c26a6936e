# The target application and the support library of the Windows tests.
# The Windows benchmarks work with them too, and are built with the tests
# off, so both tests/win32 and bench/windows include this file; the
# first inclusion defines the targets. Linking needs wedge_fake_jni, which
# the tests define, or the benchmarks when the tests are off.
include_guard(GLOBAL)

# The application the tests and benchmarks type into and list windows of.
# Like every program run under Wine, it carries its runtime inside.
add_executable(wedge_target WIN32 ${CMAKE_CURRENT_LIST_DIR}/../target/wedge_target.cpp)
target_include_directories(wedge_target PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../target)
target_link_options(wedge_target PRIVATE -municode -static -static-libgcc -static-libstdc++)
target_link_libraries(wedge_target PRIVATE wedge_warnings)

add_library(wedge_windows_test_support STATIC
  ${CMAKE_CURRENT_LIST_DIR}/test_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wedge_library.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wedge_natives.cpp
  ${CMAKE_CURRENT_LIST_DIR}/target_app.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keyboard_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/key_event_recorder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/notepad.cpp)
target_include_directories(wedge_windows_test_support PUBLIC
  ${CMAKE_CURRENT_LIST_DIR}
  ${CMAKE_CURRENT_LIST_DIR}/../target)
target_link_libraries(wedge_windows_test_support
  PUBLIC wedge_fake_jni user32 kernel32
  PRIVATE wedge_warnings)
