#!/bin/sh
# Makes (lock) or releases (unlock) a folder in which no file can be made,
# for the save tests: without write permission, and immutable where the
# file system allows it, since permissions do not hold back the superuser.
set -u
action=$1
folder=$2
case "$action" in
  lock)
    mkdir -p "$folder"
    chmod a-w "$folder"
    chattr +i "$folder" 2>/dev/null || true
    ;;
  unlock)
    [ -d "$folder" ] || exit 0
    chattr -i "$folder" 2>/dev/null || true
    chmod u+w "$folder"
    ;;
esac
exit 0
