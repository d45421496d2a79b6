#!/usr/bin/env bash
# Registers the Quorlin text driver LIBRARY in odbcinst.ini under the name the "Text DSN" check
# looks for; an up-to-date registration is left alone. The library need not exist yet.
set -euo pipefail

library=${1:?usage: register-odbc-driver.sh LIBRARY}
name="Microsoft Text Driver (*.txt; *.csv)"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if ! odbcinst -q -d -n "$name" 2>/dev/null | grep -qxF "Driver=$library"; then
  printf '[%s]\nDescription=Quorlin text driver\nDriver=%s\nSetup=%s\n' "$name" "$library" "$library" |
    "${sudo_cmd[@]}" odbcinst -i -d -r >/dev/null
fi
