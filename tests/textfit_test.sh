#!/bin/sh
# The text-fit checker on known cases: one pixel too wide fails, exactly
# wide enough passes, a character no font has fails.
# Usage: textfit_test.sh TEXTFIT PO_DIR PLACES
set -u
textfit=$1 po=$2 places=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$po/de.po" "$dir/de.po"

# Hint 284 lives in the 238-pixel hint line and ends in the up/down pictogram (14 px);
# "m" is 12 px, "s" 9, "r" 8 in the normal font.
with_hint() {
    awk -v text="$1" '
        $0 == "msgctxt \"284\"" { hit = 1 }
        hit && /^msgstr / { print "msgstr \"" text "\""; hit = 0; next }
        { print }' "$po/gb.po" >"$dir/gb.po"
}
fail=0
with_hint "mmmmmmmmmmmmmmmmmmr♯"
"$textfit" --po "$dir" --places "$places" >"$dir/out" || { echo "238 px did not fit 238 px:"; cat "$dir/out"; fail=1; }
with_hint "mmmmmmmmmmmmmmmmmms♯"
if "$textfit" --po "$dir" --places "$places" >"$dir/out"; then echo "239 px fitted 238 px"; fail=1; fi
grep -q "GB 284: over by 1 px" "$dir/out" || { echo "no report of the 1 px overflow:"; cat "$dir/out"; fail=1; }
with_hint "Ω ♯"
if "$textfit" --po "$dir" --places "$places" >"$dir/out"; then echo "a missing glyph passed"; fail=1; fi
grep -q "GB 284: U+03A9 not in the normal font" "$dir/out" || { echo "no report of the missing glyph:"; cat "$dir/out"; fail=1; }
with_hint "mmm ♯ mmm"
if "$textfit" --po "$dir" --places "$places" >"$dir/out"; then echo "a moved pictogram passed"; fail=1; fi
grep -q "GB 284: does not end in the pictogram" "$dir/out" || { echo "no report of the moved pictogram:"; cat "$dir/out"; fail=1; }
[ $fail -eq 0 ] && echo "textfit: known cases pass"
exit $fail
