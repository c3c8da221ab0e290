#!/usr/bin/env bash
# Installs what is missing on a Debian machine, builds natively and for Windows, runs every test:
# the native tests (with AddressSanitizer and UBSan), then the Win32 build's tests under Wine.
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup.sh

vekhor_install_missing
vekhor_start_display

cmake --preset native
cmake --build --preset native -j"$(nproc)"
ctest --preset native

cmake --preset wine
cmake --build --preset wine -j"$(nproc)"
ctest --preset wine
