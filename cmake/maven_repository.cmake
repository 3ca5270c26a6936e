# Lays out the jar, its pom, sources jar and Javadoc jar as a Maven
# repository, with checksums and the artifact's metadata. The coordinates
# come from the pom.
#   cmake -DPOM=... -DJAR=... -DSOURCES_JAR=... -DJAVADOC_JAR=... -DREPOSITORY=... -P maven_repository.cmake
foreach(input POM JAR SOURCES_JAR JAVADOC_JAR REPOSITORY)
  if(NOT DEFINED ${input})
    message(FATAL_ERROR "maven_repository.cmake needs -D${input}=")
  endif()
endforeach()

file(READ "${POM}" pom)
foreach(element groupId artifactId version)
  if(NOT pom MATCHES "<${element}>([^<]+)</${element}>")
    message(FATAL_ERROR "${POM} has no ${element}")
  endif()
  set(${element} "${CMAKE_MATCH_1}")
endforeach()

string(REPLACE "." "/" group_path "${groupId}")
set(artifact_folder "${REPOSITORY}/${group_path}/${artifactId}")
set(base "${artifact_folder}/${version}/${artifactId}-${version}")
file(REMOVE_RECURSE "${artifact_folder}")

function(publish source target)
  configure_file("${source}" "${target}" COPYONLY)
  foreach(algorithm SHA1 MD5)
    file(${algorithm} "${target}" digest)
    string(TOLOWER "${algorithm}" extension)
    file(WRITE "${target}.${extension}" "${digest}")
  endforeach()
endfunction()

publish("${JAR}" "${base}.jar")
publish("${POM}" "${base}.pom")
publish("${SOURCES_JAR}" "${base}-sources.jar")
publish("${JAVADOC_JAR}" "${base}-javadoc.jar")

string(TIMESTAMP updated "%Y%m%d%H%M%S" UTC)
file(WRITE "${artifact_folder}/metadata.staging" "<?xml version=\"1.0\" encoding=\"UTF-8\"?>
<metadata>
  <groupId>${groupId}</groupId>
  <artifactId>${artifactId}</artifactId>
  <versioning>
    <latest>${version}</latest>
    <release>${version}</release>
    <versions>
      <version>${version}</version>
    </versions>
    <lastUpdated>${updated}</lastUpdated>
  </versioning>
</metadata>
")
publish("${artifact_folder}/metadata.staging" "${artifact_folder}/maven-metadata.xml")
file(REMOVE "${artifact_folder}/metadata.staging")
