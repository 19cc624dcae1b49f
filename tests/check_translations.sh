#!/bin/sh
# Fails, naming them, on the user-visible texts of the sources that have no finished English
# translation in translations/pxr3_en.ts: lupdate gathers the sources' texts into a copy of it,
# where a new or untranslated text comes out unfinished.
# Usage: check_translations.sh LUPDATE SOURCE_DIR FOLDER...
set -eu
lupdate=$1
source_dir=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/translations/pxr3_en.ts" "$work/pxr3_en.ts"
cd "$source_dir"
"$lupdate" -I . -locations none -no-obsolete "$@" -ts "$work/pxr3_en.ts" >"$work/lupdate.log" 2>&1 ||
  { cat "$work/lupdate.log"; exit 1; }
awk '
  /<name>/ { context = $0; sub(/.*<name>/, "", context); sub(/<\/name>.*/, "", context) }
  /<source>/ { source = ""; inside = 1 }
  inside { source = source $0 "\n" }
  /<\/source>/ { inside = 0 }
  /<translation type="unfinished"/ {
    text = source; sub(/^[ \t]*<source>/, "", text); sub(/<\/source>\n$/, "", text)
    printf "%s: %s\n", context, text; missing++
  }
  END {
    if (missing) { printf "%d text(s) without an English translation in translations/pxr3_en.ts\n", missing; exit 1 }
  }' "$work/pxr3_en.ts"
