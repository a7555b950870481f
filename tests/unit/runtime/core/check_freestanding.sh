#!/bin/sh
# Fails when a static library refers to any symbol that it does not define itself: the stub links
# the payload core with -nostdlib, so a call into the C runtime (memcpy, memset, __chkstk, a stack
# protector) would break its link or pull in code it cannot have.
# Usage: check_freestanding.sh NM ARCHIVE
nm_tool=$1
archive=$2
undefined=$("$nm_tool" -u "$archive" | awk 'NF == 2 && $1 == "U" { print $2 }' | sort -u)
defined=$("$nm_tool" --defined-only "$archive" | awk 'NF == 3 { print $3 }' | sort -u)
missing=$(printf '%s\n' "$undefined" | grep -v '^$' | while read -r s; do
    printf '%s\n' "$defined" | grep -qx "$s" || printf '%s\n' "$s"
done)
if [ -n "$missing" ]; then
    echo "$archive refers to symbols from outside:"
    echo "$missing"
    exit 1
fi
echo "$archive is self-contained"
