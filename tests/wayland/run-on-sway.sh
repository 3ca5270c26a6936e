#!/usr/bin/env bash
# Runs a command in a headless sway session of its own, and stops the
# session afterwards, however the command ends (scripts/sway-session.sh).
# Usage: run-on-sway.sh <command> [arguments...]
set -uo pipefail
exec bash "$(dirname "$0")/../../scripts/sway-session.sh" "$@"
