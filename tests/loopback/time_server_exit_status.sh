#!/bin/sh
# The time server hands the command its port and exits with the command's status.
server="$1"
"$server" --behaviour close --port 0 -- sh -c '[ "${VEKHOR_TIME_PORT:-0}" -gt 0 ] && exit 7'
status=$?
[ "$status" -eq 7 ] || { echo "expected exit status 7, got $status"; exit 1; }
