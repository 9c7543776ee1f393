#!/usr/bin/env bash
# The package for Windows users, unpacked: one folder holding the program,
# the library, the command-line tool exactly when it was built, and a read-me
# with Windows line ends that names every menu item and the network notes;
# the files are the built ones.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
bin="$top/build/windows/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "dist_test: $*" >&2; failures=$((failures + 1)); }

"$top/tools/make_dist.sh" "$work/out" >/dev/null
zips=("$work"/out/*.zip)
[ "${#zips[@]}" = 1 ] || { echo "dist_test: expected one zip, got: ${zips[*]}" >&2; exit 1; }
name=$(basename "${zips[0]}" .zip)
[[ "$name" =~ ^KelvaraLanwise-[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+-win64$ ]] || fail "unexpected name $name.zip"

unzip -q "${zips[0]}" -d "$work/unpacked"
expected=("Kelvara Lanwise.exe" README.txt vorn.dll)
[ -f "$bin/lanwise-cli.exe" ] && expected+=(lanwise-cli.exe)
actual=$(cd "$work/unpacked" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
wanted=$(printf "$name/%s\n" "${expected[@]}" | LC_ALL=C sort)
[ "$actual" = "$wanted" ] || fail "contents differ; expected:"$'\n'"$wanted"$'\n'"got:"$'\n'"$actual"

for file in "${expected[@]}"; do
    [ "$file" = README.txt ] && continue
    cmp -s "$bin/$file" "$work/unpacked/$name/$file" || fail "$file differs from the built one"
done

readme="$work/unpacked/$name/README.txt"
if [ -f "$readme" ]; then
    [ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] || fail "README.txt has lines without CRLF"
    for phrase in "Kelvara Lanwise.exe" vorn.dll lanwise-cli.exe "UDP port 3250" "in and out" "broadcast domain" \
        "How to start" "Dark red" "Grey" "Struck through" "--dry-run" "--verify"; do
        grep -qF -- "$phrase" "$readme" || fail "README.txt does not mention '$phrase'"
    done
    # Every item of the list's menu (the texts its code appends, literal or
    # named) and of the system menu: a Windows user learns them from here.
    mapfile -t items < <(perl -0777 -ne '
        my %named; while (/constexpr char (k\w+)\[\] = "([^"]+)";/g) { $named{$1} = $2 }
        while (/Append(?:Sub)?Menu\(([^;]*?)\);/gs) {
            my $args = $1;
            if ($args =~ /"([^"]+)"\s*$/) { print "$1\n" } elsif ($args =~ /(k\w+)\s*$/ && $named{$1}) { print "$named{$1}\n" }
        }' "$top/modulelist/module_list_menu.cpp" | sort -u)
    items+=("$(sed -nE 's/^ *IDS_ABOUTBOX +"(.*)"/\1/p' "$top/resources/kelvara_lanwise.rc" | tr -d '&')")
    [ "${#items[@]}" -ge 9 ] || fail "found only ${#items[@]} menu items in the program's sources: ${items[*]}"
    for item in "${items[@]}"; do
        grep -qF -- "$item" "$readme" || fail "README.txt does not name the menu item '$item'"
    done
fi

[ "$failures" = 0 ] && echo "dist_test: $name.zip holds: ${expected[*]}"
[ "$failures" = 0 ]
