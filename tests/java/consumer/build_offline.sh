#!/usr/bin/env bash
# Builds a user's project from the README's own text, offline, against a
# Maven repository folder: its Maven snippet pasted into a pom, its first
# Java example as the source, and its mvn command. The repository of
# Debian's Java packages (/usr/share/maven-repo, which brings the compiler
# and resources plugins) serves as the local repository; Maven reads it
# through a tree of links, so that what it records there lands in a scratch
# folder instead.
#   build_offline.sh README CONSUMER_POM REPOSITORY_FOLDER
set -euo pipefail
readme=$1
skeleton=$2
repository=$(realpath "$3")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

section=$(awk '/^## / { inside = ($0 == "## Using it from Java") } inside' "$readme")
# The first fenced block of the given language in the section.
first_block() {
  awk -v fence="\`\`\`$1" '
    !found && $0 == fence { found = 1; inside = 1; next }
    inside && $0 == "```" { exit }
    inside' <<<"$section"
}
snippet=$(first_block xml)
example=$(first_block java)
command=$(first_block sh | grep -m 1 '^mvn ' || true)
placeholder='file:///path/to/dist/maven'
for part in snippet example command; do
  [ -n "${!part}" ] || { echo "consumer: the README's Java section has no $part" >&2; exit 1; }
done
grep -qF "$placeholder" <<<"$snippet" || { echo "consumer: the snippet does not name $placeholder" >&2; exit 1; }

project=$scratch/project
mkdir -p "$project/src/main/java"
class=$(sed -n 's/^public final class \([A-Za-z0-9_]*\).*/\1/p' <<<"$example")
printf '%s\n' "$example" >"$project/src/main/java/$class.java"
pom=$(<"$skeleton")
printf '%s\n' "${pom/"<!-- README snippet -->"/"${snippet//"$placeholder"/"file://$repository"}"}" >"$project/pom.xml"

cp -rs /usr/share/maven-repo "$scratch/local"
read -ra maven <<<"$command"
# Its log is shown only on failure, without the terminal codes it writes.
if ! (cd "$project" && "${maven[@]}" --batch-mode --quiet -Dmaven.repo.local="$scratch/local") \
    >"$scratch/maven.log" 2>&1; then
  echo "consumer: '$command' failed on the README's snippet and example:" >&2
  sed 's/\x1b\[[0-9;]*m//g' "$scratch/maven.log"
  exit 1
fi
test -f "$project/target/classes/$class.class"
echo "consumer: the README's snippet and $class compiled offline against $repository"
