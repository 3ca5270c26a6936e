#!/usr/bin/env bash
# The table of errors is written twice, in Wedge's Javadoc and in the
# README, and must read the same in both.
#   error_table_shared.sh README WEDGE_JAVA
set -euo pipefail
table() { sed -n 's/^ \* //; /^<table class="striped">$/,/^<\/table>$/p' "$1"; }
readme_table=$(table "$1")
javadoc_table=$(table "$2")
[ -n "$readme_table" ] || { echo "no table of errors in $1" >&2; exit 1; }
[ -n "$javadoc_table" ] || { echo "no table of errors in $2" >&2; exit 1; }
if ! diff -u --label README --label Javadoc <(printf '%s\n' "$readme_table") <(printf '%s\n' "$javadoc_table"); then
  echo "the table of errors differs between $1 and $2" >&2
  exit 1
fi
echo "the table of errors reads the same in both ($(grep -c '^<tr>' <<<"$readme_table") rows)"
