# The Java class whose native methods the library implements: compiled into
# the jar, and its JNI header generated so that every export is checked
# against its Java declaration at compile time.
find_package(Java 17 REQUIRED COMPONENTS Development)
include(UseJava)

get_filename_component(WEDGE_JDK_HOME "${Java_JAVAC_EXECUTABLE}" REALPATH)
get_filename_component(WEDGE_JDK_HOME "${WEDGE_JDK_HOME}" DIRECTORY)
get_filename_component(WEDGE_JDK_HOME "${WEDGE_JDK_HOME}" DIRECTORY)
if(NOT EXISTS "${WEDGE_JDK_HOME}/include/jni.h")
  message(FATAL_ERROR "No jni.h under ${WEDGE_JDK_HOME}/include: a full JDK is needed")
endif()

set(WEDGE_JAVA_SOURCES
  ${PROJECT_SOURCE_DIR}/emulator/scanner/java/kavo/emulator/scanner/jni/NativeLibrary.java
  ${PROJECT_SOURCE_DIR}/emulator/scanner/java/kavo/emulator/scanner/jni/Wedge.java)

add_jar(wedge_jar
  SOURCES ${WEDGE_JAVA_SOURCES}
  OUTPUT_NAME kavo-emulator-scanner
  MANIFEST ${PROJECT_SOURCE_DIR}/emulator/scanner/java/MANIFEST.MF
  GENERATE_NATIVE_HEADERS wedge_jni_headers)

# jni.h from the JDK; jni_md.h from the JDK on the host, the project's own
# for Windows, where the JDK on this machine has none.
add_library(wedge_jni INTERFACE)
target_link_libraries(wedge_jni INTERFACE wedge_jni_headers)
if(WEDGE_WINDOWS)
  target_include_directories(wedge_jni SYSTEM INTERFACE
    ${PROJECT_SOURCE_DIR}/emulator/scanner/native/win32/bridge/jni/windows
    ${WEDGE_JDK_HOME}/include)
else()
  target_include_directories(wedge_jni SYSTEM INTERFACE
    ${WEDGE_JDK_HOME}/include ${WEDGE_JDK_HOME}/include/linux)
endif()
