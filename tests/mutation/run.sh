#!/usr/bin/env bash
# The mutation check: plants each fault of mutants.txt, one at a time, in a
# scratch copy of the tree, rebuilds, and runs the tests the entry names. A
# fault the tests do not notice is a hole in them.
#
#   tests/mutation/run.sh            every mutant
#   tests/mutation/run.sh ID...      only these
#
# The scratch copy and its two builds (native with the sanitizers, Windows
# under Wine) live in build/mutation (QORVIC_MUTATION_DIR overrides) and are
# kept between runs, so each mutant rebuilds one file. The real tree is only
# read. A full run of the 69 mutants takes about 4 minutes on 2 cores once the
# builds exist; the first run adds about 2 minutes of building. Not part of
# scripts/test.sh.
#
# Results: caught (the build of the tests or a named test failed), SURVIVED,
# stale (the original text is no longer in the file, or not once, or a
# filter names no test), and
# build-broken (the mutant itself does not compile; fix the entry).
set -uo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
list="$repo/tests/mutation/mutants.txt"
work=${QORVIC_MUTATION_DIR:-$repo/build/mutation}
tree="$work/tree"
native="$work/native"
windows="$work/windows"
logs="$work/logs"
mkdir -p "$tree" "$logs"

# --- the list -----------------------------------------------------------------
# Entries are blocks of "key: value" lines; a repeated find or replace line
# continues the text on a new line. Exactly one blank follows the colon; the
# rest of the line is taken as it stands.
ids=() files=() finds=() replaces=() natives=() wines=() abouts=()
parse_list() {
    local line key value n=-1 last=""
    while IFS= read -r line || [ -n "$line" ]; do
        case "$line" in '#'* | '') last="" && continue ;; esac
        key=${line%%:*}
        value=${line#*:}
        value=${value# }
        if [ "$key" = id ]; then
            n=$((n + 1))
            ids[n]=$value files[n]="" finds[n]="" replaces[n]="" natives[n]="" wines[n]="" abouts[n]=""
            last=id
            continue
        fi
        [ "$n" -ge 0 ] || { echo "mutants.txt: '$line' before any id" >&2; exit 2; }
        case "$key" in
        file) files[n]=$value ;;
        find) if [ "$last" = find ]; then finds[n]+=$'\n'"$value"; else finds[n]=$value; fi ;;
        replace) if [ "$last" = replace ]; then replaces[n]+=$'\n'"$value"; else replaces[n]=$value; fi ;;
        native) natives[n]=$value ;;
        wine) wines[n]=$value ;;
        about) abouts[n]=$value ;;
        equivalent) ;;
        *) echo "mutants.txt: unknown key '$key' in ${ids[n]}" >&2; exit 2 ;;
        esac
        last=$key
    done <"$list"
}
parse_list

selected=()
for i in "${!ids[@]}"; do
    if [ $# -eq 0 ]; then
        selected+=("$i")
    else
        for want in "$@"; do [ "$want" = "${ids[i]}" ] && selected+=("$i"); done
    fi
done
[ ${#selected[@]} -gt 0 ] || { echo "no such mutant: $*" >&2; exit 2; }

# --- the scratch copy -----------------------------------------------------------
# Only files whose content differs are copied, so unchanged files keep their
# times and the builds stay warm.
sync_tree() {
    (cd "$repo" && git ls-files -z --cached --others --exclude-standard) |
        while IFS= read -r -d '' f; do
            [ -f "$repo/$f" ] || continue
            if ! cmp -s "$repo/$f" "$tree/$f"; then
                mkdir -p "$(dirname "$tree/$f")"
                cp "$repo/$f" "$tree/$f"
            fi
        done
    # A file the tree no longer has must go too: the test lists are globs.
    comm -13 <(cd "$repo" && git ls-files --cached --others --exclude-standard | sort) \
        <(cd "$tree" && find . -type f | sed 's|^\./||' | sort) |
        while IFS= read -r f; do rm -f "$tree/$f"; done
}

need_native=false need_wine=false
for i in "${selected[@]}"; do
    [ -n "${natives[i]}" ] && need_native=true
    [ -n "${wines[i]}" ] && need_wine=true
done

start=$(date +%s)
sync_tree
if $need_native; then
    [ -f "$native/CMakeCache.txt" ] ||
        cmake -S "$tree" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQORVIC_SANITIZE=ON \
            -DQORVIC_WARNINGS_AS_ERRORS=ON >"$logs/configure-native.log" 2>&1 ||
        { echo "native configure failed: $logs/configure-native.log"; exit 2; }
    cmake --build "$native" -j2 --target qorvic_unit_tests >"$logs/build-native.log" 2>&1 ||
        { echo "the unmutated native build fails: $logs/build-native.log"; exit 2; }
fi
if $need_wine; then
    [ -f "$windows/CMakeCache.txt" ] ||
        cmake -S "$tree" -B "$windows" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/mingw-w64-x86_64.cmake" \
            -DCMAKE_BUILD_TYPE=Release -DQORVIC_WARNINGS_AS_ERRORS=ON >"$logs/configure-windows.log" 2>&1 ||
        { echo "windows configure failed: $logs/configure-windows.log"; exit 2; }
    cmake --build "$windows" -j2 --target qorvic_win_tests >"$logs/build-windows.log" 2>&1 ||
        { echo "the unmutated windows build fails: $logs/build-windows.log"; exit 2; }
    export QORVIC_SOURCE_DIR="$tree"
    # shellcheck source=../../scripts/wine-session.sh
    source "$tree/scripts/wine-session.sh"
    wine_session_up "$windows/wine"
    trap 'wine_session_down "$windows/wine"' EXIT
fi

run_native() { # regex log
    ctest --test-dir "$native" -R "$1" --no-tests=error -j2 --timeout 300 >>"$2" 2>&1
}
run_wine() { # filter log
    timeout 900 wine "$windows/tests/win/qorvic_win_tests.exe" --gtest_brief=1 \
        --gtest_filter="$1" >>"$2" 2>&1 </dev/null
}

# The named tests must pass on the unmutated tree, or every mutant would look caught.
baseline_native="" baseline_wine=""
for i in "${selected[@]}"; do
    # Every native test: ctest's expressions allow only a few groups.
    [ -n "${natives[i]}" ] && baseline_native=.
    [ -n "${wines[i]}" ] && baseline_wine+="${baseline_wine:+:}${wines[i]}"
done
: >"$logs/baseline.log"
if { [ -z "$baseline_native" ] || run_native "$baseline_native" "$logs/baseline.log"; } &&
    { [ -z "$baseline_wine" ] || run_wine "$baseline_wine" "$logs/baseline.log"; }; then
    echo "baseline: the named tests pass unmutated ($(($(date +%s) - start)) s)"
else
    echo "baseline: the named tests fail without any mutant: $logs/baseline.log"
    exit 2
fi

# A filter that names no test would make its mutant look caught (ctest fails
# on no tests) or survive unseen (an empty GoogleTest run passes).
native_names="" wine_names=""
$need_native && native_names=$(ctest --test-dir "$native" -N 2>/dev/null | sed -n 's/^ *Test *#[0-9]*: //p')
$need_wine && wine_names=$(timeout 120 wine "$windows/tests/win/qorvic_win_tests.exe" --gtest_list_tests </dev/null 2>/dev/null |
    tr -d '\r' | awk '/^[^ ]/ {suite = $1} /^  / {print suite $1}')
names_nothing() { # id
    local i=$1
    if [ -n "${natives[i]}" ] && ! grep -qE -- "${natives[i]}" <<<"$native_names"; then return 0; fi
    if [ -n "${wines[i]}" ]; then
        local pattern patterns
        IFS=: read -ra patterns <<<"${wines[i]}"
        for pattern in "${patterns[@]}"; do
            # GoogleTest's * and ? as a whole-name expression.
            pattern=$(sed 's/[.[\]^$+(){}|]/\\&/g; s/\*/.*/g; s/?/./g' <<<"$pattern")
            grep -qxE -- "$pattern" <<<"$wine_names" || return 0
        done
    fi
    return 1
}

# --- the mutants ----------------------------------------------------------------
caught=0 survived=0 stale=0 broken=0
survivors=()
for i in "${selected[@]}"; do
    id=${ids[i]} file=${files[i]} log="$logs/${ids[i]}.log"
    t0=$(date +%s)
    : >"$log"
    if names_nothing "$i"; then
        printf '%-34s %-12s %s\n' "$id" stale "${abouts[i]} (a test filter names no test)"
        stale=$((stale + 1))
        continue
    fi
    count=$(FIND="${finds[i]}" python3 -c '
import os, sys
try:
    print(open(sys.argv[1], encoding="utf-8").read().count(os.environ["FIND"]))
except OSError:
    print(0)' "$repo/$file")
    if [ "$count" != 1 ]; then
        printf '%-34s %-12s %s\n' "$id" stale "${abouts[i]} (original text found $count times)"
        stale=$((stale + 1))
        continue
    fi
    FIND="${finds[i]}" REPLACE="${replaces[i]}" python3 -c '
import os, sys
path = sys.argv[1]
text = open(path, encoding="utf-8").read()
open(path, "w", encoding="utf-8").write(text.replace(os.environ["FIND"], os.environ["REPLACE"], 1))' \
        "$tree/$file"

    result=SURVIVED
    built=true
    if [ -n "${natives[i]}" ] && ! cmake --build "$native" -j2 --target qorvic_unit_tests >>"$log" 2>&1; then
        built=false
    fi
    if $built && [ -n "${wines[i]}" ] && ! cmake --build "$windows" -j2 --target qorvic_win_tests >>"$log" 2>&1; then
        built=false
    fi
    if ! $built; then
        # An error in the mutated file is the entry's fault; one elsewhere
        # (a test's static check) is the tests noticing.
        if grep -q "$(basename "$file"):[0-9]*:[0-9]*: error" "$log"; then result=build-broken; else result=caught; fi
    else
        if [ -n "${natives[i]}" ] && ! run_native "${natives[i]}" "$log"; then result=caught; fi
        if [ "$result" != caught ] && [ -n "${wines[i]}" ] && ! run_wine "${wines[i]}" "$log"; then
            result=caught
        fi
    fi
    # A fresh time on the restored file makes the next build compile it again.
    cp "$repo/$file" "$tree/$file"

    case $result in
    caught) caught=$((caught + 1)) ;;
    SURVIVED) survived=$((survived + 1)) && survivors+=("$id") ;;
    build-broken) broken=$((broken + 1)) ;;
    esac
    printf '%-34s %-12s %s (%d s)\n' "$id" "$result" "${abouts[i]}" $(($(date +%s) - t0))
done

echo "caught $caught/$((caught + survived))" \
    "(stale $stale, build-broken $broken; $(($(date +%s) - start)) s; logs in $logs)"
[ ${#survivors[@]} -eq 0 ] || echo "survivors: ${survivors[*]}"
[ "$survived" -eq 0 ] && [ "$stale" -eq 0 ] && [ "$broken" -eq 0 ]
