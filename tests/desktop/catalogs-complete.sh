#!/usr/bin/env bash
# Fails when a text the code marks for translation has no German entry, when a German entry is
# fuzzy, or when a German entry is no longer marked in the code (the next "make po" would drop
# it). Extracts and merges into a temporary folder; the catalogs in locale/ stay as they are.
set -euo pipefail
src=${1:?source folder}
work=$(mktemp -d "${TMPDIR:-/tmp}/corvane-po-XXXXXX")
trap 'rm -rf "$work"' EXIT
"$src/scripts/update-po" --check "$work"
