# The Java side: Wedge and its loader compiled for Java 8 into a
# multi-release jar whose Java 9 part holds the module descriptor, the JNI
# header that checks every export against its Java declaration, and (in the
# plain host build) the pom, sources jar, Javadoc jar and a Maven repository
# of them.
find_package(Java 17 REQUIRED COMPONENTS Development)
include(UseJava)

get_filename_component(WEDGE_JDK_HOME "${Java_JAVAC_EXECUTABLE}" REALPATH)
get_filename_component(WEDGE_JDK_HOME "${WEDGE_JDK_HOME}" DIRECTORY)
get_filename_component(WEDGE_JDK_HOME "${WEDGE_JDK_HOME}" DIRECTORY)
if(NOT EXISTS "${WEDGE_JDK_HOME}/include/jni.h")
  message(FATAL_ERROR "No jni.h under ${WEDGE_JDK_HOME}/include: a full JDK is needed")
endif()

# The Maven coordinates, written here and nowhere else: the pom, the jar
# names, the manifest and wedge --version take them from here.
set(WEDGE_GROUP_ID kavo.emulator.scanner)
set(WEDGE_ARTIFACT_ID kavo-emulator-scanner)
set(WEDGE_VERSION 1.0.0)

set(wedge_java_root ${PROJECT_SOURCE_DIR}/emulator/scanner/java)
set(WEDGE_JAVA_SOURCES
  ${wedge_java_root}/kavo/emulator/scanner/jni/ExtractedLibrary.java
  ${wedge_java_root}/kavo/emulator/scanner/jni/NativeLibrary.java
  ${wedge_java_root}/kavo/emulator/scanner/jni/Wedge.java)
set(wedge_module_info ${wedge_java_root}/module-info.java)
configure_file(${wedge_java_root}/MANIFEST.MF.in ${CMAKE_BINARY_DIR}/MANIFEST.MF @ONLY)

# Java 8 class files: the 32-bit JVMs that the x86 DLL serves are mostly
# Java 8.
set(CMAKE_JAVA_COMPILE_FLAGS --release 8 -Xlint:all -Werror)
add_jar(wedge_classes_jar
  SOURCES ${WEDGE_JAVA_SOURCES}
  OUTPUT_NAME ${WEDGE_ARTIFACT_ID}-classes
  MANIFEST ${CMAKE_BINARY_DIR}/MANIFEST.MF
  GENERATE_NATIVE_HEADERS wedge_jni_headers)
unset(CMAKE_JAVA_COMPILE_FLAGS)
get_target_property(wedge_classes_jar_file wedge_classes_jar JAR_FILE)

# The module descriptor goes into META-INF/versions/9, which Java 8 skips.
set(wedge_module_classes ${CMAKE_BINARY_DIR}/wedge_module_classes)
set(wedge_jar_file ${CMAKE_BINARY_DIR}/${WEDGE_ARTIFACT_ID}.jar)
add_custom_command(OUTPUT ${wedge_jar_file}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${wedge_module_classes}
  COMMAND ${Java_JAVAC_EXECUTABLE} --release 9 --module-version ${WEDGE_VERSION} -Xlint:all -Werror
          -d ${wedge_module_classes}
          ${wedge_module_info} ${WEDGE_JAVA_SOURCES}
  COMMAND ${CMAKE_COMMAND} -E copy ${wedge_classes_jar_file} ${wedge_jar_file}
  COMMAND ${Java_JAR_EXECUTABLE} --update --file ${wedge_jar_file} --release 9
          -C ${wedge_module_classes} module-info.class
  DEPENDS wedge_classes_jar ${wedge_classes_jar_file} ${wedge_module_info} ${WEDGE_JAVA_SOURCES}
  COMMENT "Adding the module descriptor to ${WEDGE_ARTIFACT_ID}.jar"
  VERBATIM)
add_custom_target(wedge_jar ALL DEPENDS ${wedge_jar_file})
set_target_properties(wedge_jar PROPERTIES JAR_FILE ${wedge_jar_file})

if(NOT WEDGE_WINDOWS AND NOT WEDGE_SANITIZE)
  set(wedge_artifact ${CMAKE_BINARY_DIR}/${WEDGE_ARTIFACT_ID})
  set(WEDGE_POM_FILE ${CMAKE_BINARY_DIR}/${WEDGE_ARTIFACT_ID}.pom)
  configure_file(${wedge_java_root}/pom.xml.in ${WEDGE_POM_FILE} @ONLY)
  set(wedge_javadoc ${CMAKE_BINARY_DIR}/javadoc)
  add_custom_command(OUTPUT ${wedge_artifact}-javadoc.jar ${wedge_artifact}-sources.jar
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${wedge_javadoc}
    COMMAND ${Java_JAVADOC_EXECUTABLE} -quiet -Xdoclint:all -Werror -d ${wedge_javadoc}
            ${wedge_module_info} ${WEDGE_JAVA_SOURCES}
    COMMAND ${Java_JAR_EXECUTABLE} --create --file ${wedge_artifact}-javadoc.jar -C ${wedge_javadoc} .
    COMMAND ${Java_JAR_EXECUTABLE} --create --file ${wedge_artifact}-sources.jar
            -C ${wedge_java_root} module-info.java -C ${wedge_java_root} kavo
    DEPENDS ${wedge_module_info} ${WEDGE_JAVA_SOURCES}
    COMMENT "Building the Javadoc and sources jars"
    VERBATIM)
  # The build tree's own Maven repository, laid out as in dist/ but with
  # the jar that carries no natives: the offline consumer test builds
  # against it.
  set(WEDGE_MAVEN_REPOSITORY ${CMAKE_BINARY_DIR}/maven-repository)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/maven-repository.stamp
    COMMAND ${CMAKE_COMMAND} -DPOM=${WEDGE_POM_FILE} -DJAR=${wedge_jar_file}
            -DSOURCES_JAR=${wedge_artifact}-sources.jar -DJAVADOC_JAR=${wedge_artifact}-javadoc.jar
            -DREPOSITORY=${WEDGE_MAVEN_REPOSITORY} -P ${PROJECT_SOURCE_DIR}/cmake/maven_repository.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/maven-repository.stamp
    DEPENDS ${WEDGE_POM_FILE} ${wedge_jar_file} ${wedge_artifact}-sources.jar ${wedge_artifact}-javadoc.jar
            ${PROJECT_SOURCE_DIR}/cmake/maven_repository.cmake
    VERBATIM)
  add_custom_target(wedge_maven_artifacts ALL DEPENDS ${CMAKE_BINARY_DIR}/maven-repository.stamp)
endif()

# jni.h from the JDK; jni_md.h from the JDK on the host, the project's own
# for Windows, where the JDK on this machine has none.
add_library(wedge_jni INTERFACE)
target_link_libraries(wedge_jni INTERFACE wedge_jni_headers)
if(WEDGE_WINDOWS)
  target_include_directories(wedge_jni SYSTEM INTERFACE
    ${PROJECT_SOURCE_DIR}/emulator/scanner/native/bridge/jni/windows
    ${WEDGE_JDK_HOME}/include)
else()
  target_include_directories(wedge_jni SYSTEM INTERFACE
    ${WEDGE_JDK_HOME}/include ${WEDGE_JDK_HOME}/include/linux)
endif()
