#!/usr/bin/env bash
# Compiles the consumer project with Debian's Maven, offline, against a
# Maven repository folder. The repository of Debian's Java packages
# (/usr/share/maven-repo, which brings the compiler and resources plugins)
# serves as the local repository; Maven reads it through a tree of links,
# so that what it records there lands in a scratch folder instead.
#   build_offline.sh CONSUMER_POM REPOSITORY_FOLDER
set -euo pipefail
pom=$1
repository=$(realpath "$2")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cp -rs /usr/share/maven-repo "$scratch/local"
# Offline, Maven still reads repositories on the file system when told so.
# Its log is shown only on failure, without the terminal codes it writes.
if ! mvn --offline --batch-mode --quiet --file "$pom" \
    -Dmaven.repo.local="$scratch/local" -Daether.offline.protocols=file \
    -Dwedge.repository="file://$repository" -Dwedge.output="$scratch/target" \
    compile >"$scratch/maven.log" 2>&1; then
  sed 's/\x1b\[[0-9;]*m//g' "$scratch/maven.log"
  exit 1
fi
test -f "$scratch/target/classes/scan/to/till/ScanToTill.class"
echo "consumer: compiled offline against $repository"
