# Shared set-up of the README's commands: Debian packages, a display for Wine.
# Sourced, not run.

VEKHOR_PACKAGES=(cmake make g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
  mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb xauth x11-utils imagemagick
  rdate nsis iproute2 nftables)

# Where CI is set, also chrony, a real NTP server for the tests; not on a desktop, where the
# package would replace the system's own time service.
vekhor_install_missing() {
  local packages=("${VEKHOR_PACKAGES[@]}")
  [ -n "${CI:-}" ] && packages+=(chrony)
  local missing=()
  for pkg in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  # No service may start from the install: chrony's would set this machine's clock.
  local policy=/usr/sbin/policy-rc.d created=""
  if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' | $sudo tee "$policy" >/dev/null && $sudo chmod +x "$policy"
    created=1
  fi
  local status=0
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" || status=$?
  [ -z "$created" ] || $sudo rm -f "$policy"
  # Nor at the next boot.
  if command -v systemctl >/dev/null && dpkg-query -W chrony >/dev/null 2>&1; then
    $sudo systemctl disable chrony >/dev/null 2>&1 || true
  fi
  return $status
}

# Runs a command beside chronyd serving this machine's clock on 127.0.0.1:123 without ever
# setting it (-x), with its files in folder $1; returns 77 (skipped) where chrony is missing or
# cannot serve port 123.
vekhor_with_chrony() {
  local folder=$1
  shift
  local chronyd
  chronyd=$(command -v chronyd || echo /usr/sbin/chronyd)
  if [ ! -x "$chronyd" ]; then
    echo "skipped: needs Debian's chrony package (./test.sh installs it where CI is set)"
    return 77
  fi
  if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: chronyd needs root to serve port 123"
    return 77
  fi
  mkdir -p "$folder"
  printf '%s\n' 'local stratum 8' 'allow 127.0.0.1' 'bindaddress 127.0.0.1' 'port 123' \
    'cmdport 0' "pidfile $folder/chronyd.pid" >"$folder/chrony.conf"
  "$chronyd" -x -d -u root -f "$folder/chrony.conf" >"$folder/chronyd.log" 2>&1 &
  local server=$!
  sleep 1
  if ! kill -0 "$server" 2>/dev/null; then
    cat "$folder/chronyd.log"
    echo "skipped: chronyd did not start"
    return 77
  fi
  local status=0
  "$@" || status=$?
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
  return $status
}

# Windows need an X display under Wine; without one, start a private Xvfb.
vekhor_start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local display=:97
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  VEKHOR_XVFB_PID=$!
  trap 'kill "$VEKHOR_XVFB_PID" 2>/dev/null || true' EXIT
  export DISPLAY=$display
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2
  return 1
}

# Boots the Wine prefix in $WINEPREFIX once and readies it for the program's window: Wine's own
# fonts (Tahoma, Marlett for the caption buttons), which Debian's Wine does not load from its
# data folder, and, on a display without a window manager (a bare Xvfb), windows that Wine
# frames itself.
# Then one wineserver stays up: a Wine process that starts while the last server is still
# shutting down can end at once, without a word.
vekhor_prepare_prefix() {
  local wine
  wine=$(command -v wine || command -v wine64)
  wineboot -i >/dev/null 2>&1 || return 1
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  for font in /usr/share/wine/fonts/*.ttf; do
    [ -e "$fonts/$(basename "$font")" ] || cp "$font" "$fonts/"
  done
  if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    "$wine" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
  else
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || return 1
  fi
  wineserver -w
  wineserver -p30 </dev/null >/dev/null 2>&1
}

# Runs a command in a network namespace of its own whose loopback drops what arrives for the
# addresses $1 (an nft range such as 127.0.0.2-127.0.0.13): their echo requests alone with $2
# "echo", everything with "all". Nothing comes back, as from a filtered server or a dead host,
# and this machine's own network is not touched. Returns 77 (skipped) where no namespace can be
# made (not root, no ip or nft).
vekhor_with_filtered_loopback() {
  local dropped=$1 what=$2
  shift 2
  if [ "$(id -u)" -ne 0 ] || ! command -v ip >/dev/null || ! command -v nft >/dev/null; then
    echo "skipped: needs root and Debian's iproute2 and nftables for a network namespace"
    return 77
  fi
  local namespace="vekhor-$$" match="ip daddr $dropped"
  [ "$what" = echo ] && match="$match icmp type echo-request"
  if ! ip netns add "$namespace" 2>/dev/null; then
    echo "skipped: no network namespace can be made here"
    return 77
  fi
  local status=0
  if ip netns exec "$namespace" ip link set lo up &&
    printf 'table inet vekhor {\n chain input {\n  type filter hook input priority 0;\n  %s drop\n }\n}\n' \
      "$match" | ip netns exec "$namespace" nft -f -; then
    ip netns exec "$namespace" "$@" || status=$?
  else
    echo "skipped: the namespace's loopback could not be filtered"
    status=77
  fi
  ip netns del "$namespace"
  return $status
}

# The same for Wine: its sockets live in the wineserver and its echoes in a device process, so a
# wineserver of the prefix's own is started inside the namespace, and the lasting one outside is
# back for the tests after it.
vekhor_wine_with_filtered_loopback() {
  wineserver -k 2>/dev/null
  wineserver -w
  local status=0
  vekhor_with_filtered_loopback "$@" || status=$?
  wineserver -k 2>/dev/null
  wineserver -w
  wineserver -p30 </dev/null >/dev/null 2>&1
  return $status
}
