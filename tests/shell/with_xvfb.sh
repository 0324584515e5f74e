#!/usr/bin/env bash
# Runs a command on an X server of its own. Xvfb picks a free display number itself
# (-displayfd), so servers started on this machine at the same moment never take the same
# number, as xvfb-run -a's look at the lock files could.
#   with_xvfb.sh WxHxDEPTH COMMAND [ARGS ...]      the command's status is the script's
set -uo pipefail
screen=$1
shift
fifo=$(mktemp -u)
mkfifo "$fifo" || exit 1
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
server=$!
number=
read -r -t 60 number <"$fifo"
rm -f "$fifo"
if [ -z "$number" ]; then
  echo "FAIL: Xvfb did not start"
  kill "$server" 2>/dev/null
  exit 1
fi
DISPLAY=:$number "$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
exit "$status"
