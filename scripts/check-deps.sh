#!/usr/bin/env bash
# Fails when the build used a Debian package that scripts/install-deps.sh does not bring: a
# package that owns a CMake package folder named in CMakeCache.txt, a header in the build's
# dependency records (ninja -t deps) or a library the build links, and that is not in the
# dependency closure of the list. A machine where such a package happens to be installed would
# otherwise build while a fresh one fails.
# Usage: scripts/check-deps.sh [build folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$(pwd)
build=$(cd "${1:-build}" && pwd)
[ -f "$build/CMakeCache.txt" ] || { echo "check-deps: no CMakeCache.txt in $build" >&2; exit 2; }

used=$(mktemp)
trap 'rm -f "$used"' EXIT

# CMake package folders: the package's config file (Qt6Gui_DIR holds Qt6GuiConfig.cmake) names
# the owner, since a folder may also hold files of other packages (plugins).
sed -n 's/^\([A-Za-z0-9_]*\)_DIR:PATH=\(.*\)/\1 \2/p' "$build/CMakeCache.txt" | while read -r name dir; do
  for f in "$dir/${name}Config.cmake" "$dir/${name,,}-config.cmake"; do
    [ -f "$f" ] && { echo "$f"; break; }
  done
done >> "$used"
# Headers the compiler read, outside this checkout and its build.
(cd "$build" && ninja -t deps) | sed -n 's/^    \(\/.*\)/\1/p' | sort -u |
  grep -v -e "^$source_dir/" -e "^$build/" >> "$used" || true
# Libraries the build links.
grep -E '^\s*LINK_LIBRARIES' "$build/build.ninja" | grep -oE '(^| )/[^ ]+\.(so|a)(\.[0-9.]+)?' | sed 's/^ //' | sort -u |
  grep -v -e "^$source_dir/" -e "^$build/" >> "$used" || true

# Owners of those files. A path that dpkg does not know literally is tried once more with its
# links resolved; a file no package owns is a fault too (it came from outside the archive).
owners=$(mktemp)
trap 'rm -f "$used" "$owners"' EXIT
sort -u "$used" -o "$used"
xargs -r dpkg -S < "$used" 2>/dev/null | grep -v '^diversion' > "$owners" || true
unowned=0
while read -r f; do
  real=$(realpath -e "$f" 2>/dev/null || true)
  if [ -n "$real" ] && line=$(dpkg -S "$real" 2>/dev/null | grep -v '^diversion'); then
    echo "$line" >> "$owners"
  else
    echo "check-deps: $f belongs to no Debian package" >&2
    unowned=1
  fi
done < <(sed 's/.*: //' "$owners" | sort -u | comm -23 "$used" -)

closure=$(mktemp)
trap 'rm -f "$used" "$owners" "$closure"' EXIT
apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks --no-replaces \
  --no-enhances $(scripts/install-deps.sh --list) | grep -v '^ ' | sed 's/:.*//' | sort -u > "$closure"

# Each owner line is "pkg1, pkg2: path"; a file is covered when one of its owners is in the closure.
missing=$(awk -F': ' 'NR == FNR { inList[$0] = 1; next }
  { n = split($1, pkgs, ", "); ok = 0
    for (i = 1; i <= n; i++) { sub(/:.*/, "", pkgs[i]); if (pkgs[i] in inList) ok = 1 }
    if (!ok) print "check-deps: " $2 " comes from " $1 ", which scripts/install-deps.sh does not install" }' \
  "$closure" "$owners")
[ -z "$missing" ] || echo "$missing" >&2

if [ -n "$missing" ] || [ $unowned -ne 0 ]; then exit 1; fi
echo "check-deps: every package the build used is installed by scripts/install-deps.sh"
