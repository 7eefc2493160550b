#!/usr/bin/env bash
# With the language files installed, each language shows its own captions in
# the strip at start-up, and the language survives a restart.
source "$(dirname "$0")/lib.sh"

mkdir -p "$WORK/appdata/Qorvic/Languages"
cp "$QORVIC_SOURCE_DIR"/lang/*.Language "$WORK/appdata/Qorvic/Languages/"
start_pattern 0 0 800 600

# The label and check box captions are line 16 and 17 of each file's source text.
caption() { sed -n "$2p" "$QORVIC_SOURCE_DIR/lang/src/$1.txt" | sed 's/^[^=]*=.//' | tr -d '\r'; }

for lang in English German Japanese Russian Polish French; do
    printf '0\r\n%s\r\n' "$lang" >"$WORK/appdata/Qorvic/Qorvic.cfg"
    start_qorvic
    children=$(driver children Qorvic)
    for line in 17 18; do
        want=$(caption "$lang" "$line")
        grep -qxF -- "$want" <<<"$children" || fail "$lang: caption '$want' not shown; children: $children"
    done
    rect=$(window_rect Qorvic)
    screenshot "$WORK/full_$lang.png"
    convert "$WORK/full_$lang.png" -crop "$(field "$rect" 9)x19+$(field "$rect" 7)+$(field "$rect" 8)" +repage \
        "$WORK/strip_$lang.png"
    stop_qorvic
    grep -q "^$lang"$'\r'"$" "$WORK/appdata/Qorvic/Qorvic.cfg" || fail "$lang not kept in the settings"
done
[ "$(caption English 17)" = Options ] || fail "the English options label is not 'Options'"
echo "PASS"
