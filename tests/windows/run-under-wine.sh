#!/bin/sh
# The Windows build's load check under Wine: wowfix.dll loads as a host loads
# it, and its hum libraries load from its folder. Exit 77 (skipped) when Wine
# is not installed; a missing Windows build is a failure.
#
# Usage: tests/windows/run-under-wine.sh WINDOWS_BUILD_DIR
set -eu
build=$1
command -v wine > /dev/null || { echo "wine is not installed: skipped"; exit 77; }
smoke=$build/host/wowfix-load-smoke.exe
plugin=$build/host/wowfix.dll
for file in "$smoke" "$plugin" "$build/host/PVC_Plugin.dll" "$build/host/Zendral.dll"; do
    [ -f "$file" ] || { echo "missing $file: build the Windows plug-in first (see the README)"; exit 1; }
done
WINEDEBUG=-all wine "$smoke" "$(winepath -w "$plugin" 2> /dev/null)"
