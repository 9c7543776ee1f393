#!/usr/bin/env bash
# Packs the Windows files for users: build/dist/KelvaraLanwise-<version>-win64.zip
# (or into the folder given as $1), holding one folder with the program, the
# library, the command-line tool when it has been built, and a read-me with
# Windows line ends. The version is the program's product version.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bin="$top/build/windows/bin"
out="${1:-$top/build/dist}"

version=$(sed -nE 's/^ *PRODUCTVERSION +([0-9]+),([0-9]+),([0-9]+),([0-9]+).*/\1.\2.\3.\4/p' \
    "$top/resources/kelvara_lanwise.rc")
[ -n "$version" ] || { echo "make_dist: no PRODUCTVERSION in the resource script" >&2; exit 1; }
name="KelvaraLanwise-$version-win64"

files=("Kelvara Lanwise.exe" vorn.dll)
[ -f "$bin/lanwise-cli.exe" ] && files+=(lanwise-cli.exe)
for file in "${files[@]}"; do
    [ -f "$bin/$file" ] || { echo "make_dist: $bin/$file missing (make build)" >&2; exit 1; }
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
for file in "${files[@]}"; do cp "$bin/$file" "$stage/$name/"; done
sed 's/$/\r/' "$top/package/README.txt" >"$stage/$name/README.txt"

mkdir -p "$out"
out=$(cd "$out" && pwd)  # zip runs in the staging folder
rm -f "$out/$name.zip"
(cd "$stage" && zip -q -X -r "$out/$name.zip" "$name")
echo "make_dist: wrote $out/$name.zip"
