#!/usr/bin/env bash
# The main job: builds Vekhor.exe and runs it under Wine, in a private prefix under build/,
# against the bundled RFC 868 server on 127.0.0.1:37. On the user's display the program runs
# until its window is closed; without a display it first synchronizes once with /close and says
# how that went, then runs on a private Xvfb, a screenshot is written to
# build/run/screenshot.png, and the program is ended.
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup.sh

vekhor_install_missing
had_display=${DISPLAY:-}
vekhor_start_display

cmake --preset wine >/dev/null
cmake --build --preset wine --target Vekhor host_timeserver -j"$(nproc)" >/dev/null

run_dir=$PWD/build/run
mkdir -p "$run_dir"
export WINEPREFIX=$run_dir/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
echo "Readying the Wine prefix in $WINEPREFIX (slow the first time)"
vekhor_prepare_prefix

# The bundled server goes first in the list, checked; the first start puts the default servers
# behind it. Only this private prefix is seeded, and only before its first start.
servers_key='HKCU\Software\VB and VBA Program Settings\Vektal\Horolan\Servers'
if ! wine reg query "$servers_key" >/dev/null 2>&1; then
  wine reg add "$servers_key" /v Server1 /d 127.0.0.1 /f >/dev/null
  wine reg add "$servers_key" /v ServerChecked1 /d -1 /f >/dev/null
fi

# Port 37 is below 1024: root, or the capability to bind it.
server=$PWD/build/wine/host-tools/vekhor-timeserver
if [ "$(id -u)" -ne 0 ]; then sudo setcap cap_net_bind_service=+ep "$server"; fi
"$server" --behaviour time --port 37 &
server_pid=$!
trap 'kill "$server_pid" 2>/dev/null || true; wineserver -k 2>/dev/null || true; kill "${VEKHOR_XVFB_PID:-0}" 2>/dev/null || true' EXIT

program=$PWD/build/wine/src/Vekhor.exe
if [ -n "$had_display" ]; then
  echo "Vekhor.exe runs on $DISPLAY; close its window to end"
  wine "$program"
else
  echo "No display: Vekhor.exe /close synchronizes once, then the window runs on a private Xvfb"
  status=0
  wine "$program" /close || status=$?
  case $status in
    0) echo "Vekhor.exe /close: the clock was set from the bundled server (exit status 0)" ;;
    2) echo "Vekhor.exe /close: a time was fetched; Wine refused the change (exit status 2)" ;;
    *) echo "Vekhor.exe /close: no server gave the time (exit status $status)" ;;
  esac
  wine "$program" &
  sleep 10
  import -window root "$run_dir/screenshot.png"
  echo "Screenshot: $run_dir/screenshot.png"
fi
