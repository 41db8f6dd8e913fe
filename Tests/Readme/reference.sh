#!/usr/bin/env bash
# The configuration reference in the README against what kelvo-reference prints from the code,
# so that the keys, their defaults and the default shortcuts the README shows cannot drift.
#
# usage: reference.sh check|write README KELVO_REFERENCE
#   check  fails, showing the difference, when the README's reference is not the printed one
#   write  puts the printed reference between the README's markers
set -euo pipefail

mode=$1
readme=$2
program=$3
begin='<!-- kelvo-reference: begin -->'
end='<!-- kelvo-reference: end -->'

for marker in "$begin" "$end"; do
    if [ "$(grep -cxF -- "$marker" "$readme")" -ne 1 ]; then
        echo "reference: $readme must hold the line '$marker' once" >&2
        exit 1
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$program" >"$work/printed"
# The lines between the markers, without the empty lines that set the table off.
awk -v b="$begin" -v e="$end" '$0 == e { inside = 0 } inside { print } $0 == b { inside = 1 }' \
    "$readme" | sed '1{/^$/d}; ${/^$/d}' >"$work/held"

case $mode in
check)
    if ! diff -u --label "in $readme" --label "printed by kelvo-reference" \
        "$work/held" "$work/printed"; then
        echo "reference: the README's configuration reference differs from the code's;" \
            "'make readme' writes it" >&2
        exit 1
    fi
    echo "reference: the README's configuration reference is the code's"
    ;;
write)
    awk -v b="$begin" -v e="$end" -v printed="$work/printed" '
        $0 == e { inside = 0 }
        !inside { print }
        $0 == b { inside = 1; print ""; while ((getline line < printed) > 0) print line; print "" }
    ' "$readme" >"$work/readme"
    cat "$work/readme" >"$readme"
    ;;
*)
    echo "usage: reference.sh check|write README KELVO_REFERENCE" >&2
    exit 2
    ;;
esac
