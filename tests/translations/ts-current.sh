#!/usr/bin/env bash
# The translations are current: lupdate, run over the sources as the build runs it, finds
# no text new, changed or gone, and every text has its translation.
set -euo pipefail
lupdate=$1
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$src"/translations/korvane-setup_*.ts; do
  cp "$ts" "$work/current.ts"
  (cd "$src" && "$lupdate" -silent -no-obsolete -locations none \
    app main channel card data ui settings lineup sql -ts "$work/current.ts")
  if ! cmp -s "$ts" "$work/current.ts"; then
    echo "FAIL: $(basename "$ts") is not current; run: cmake --build build --target update_translations" >&2
    diff "$ts" "$work/current.ts" | head -40 >&2 || true
    status=1
  fi
  if grep -q 'type="unfinished"' "$ts"; then
    echo "FAIL: $(basename "$ts") has texts without a translation:" >&2
    grep -B2 'type="unfinished"' "$ts" | grep '<source>' | head -20 >&2
    status=1
  fi
done
exit $status
