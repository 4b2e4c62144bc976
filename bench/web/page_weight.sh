#!/bin/sh
# The page's weight as a server sends it compressed: every file of the built page, as it is and
# after gzip -9, in KiB, and the whole. (WOFF2 and PNG are compressed already.)
# Usage: sh bench/web/page_weight.sh [PAGE_DIR]   (default: build-web/, from sh scripts/web.sh)
set -eu

ROOT=$(cd -P -- "$(dirname -- "$0")/../.." && pwd)
page=${1:-$ROOT/build-web}
if [ ! -f "$page/index.html" ]; then
    echo "page_weight.sh: no page in $page; sh scripts/web.sh builds it" >&2
    exit 1
fi

cd "$page"
find . -type f | sort | while read -r file; do
    echo "${file#./} $(wc -c <"$file") $(gzip -9 -c "$file" | wc -c)"
done | awk '
    { printf "%-36s %9.1f KiB %9.1f KiB gzip -9\n", $1, $2 / 1024, $3 / 1024; raw += $2; packed += $3 }
    END { printf "%-36s %9.1f KiB %9.1f KiB gzip -9\n", "the page", raw / 1024, packed / 1024 }'
