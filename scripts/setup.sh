#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Quorlin needs.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libcli11-dev
  xvfb xauth xdg-utils fonts-dejavu-core
  python3 python3-xlrd python3-dbfread libxml2-utils sqlite3
  ccache
  libzstd-dev libsnappy-dev nodejs
  pxlib-dev unixodbc unixodbc-dev odbcinst libqt6sql6-odbc python3-pyodbc libsqliteodbc
  libasound2-dev libcurl4-openssl-dev tinyproxy
  miller gnumeric gdal-bin
  dpkg-dev fakeroot file lintian desktop-file-utils appstream man-db bash-completion librsvg2-bin
)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

repo=$(cd "$(dirname "$0")/.." && pwd)

# DuckDB's Node.js package reads the Parquet files and runs the engine statements in the tests
# (and is the peer of the Parquet benchmark); it stays inside the build tree.
if ! command -v npm >/dev/null; then
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends npm
fi
duckdb_dir="$repo/build/test-tools/duckdb"
if [ ! -d "$duckdb_dir/node_modules/@duckdb/node-api" ]; then
  mkdir -p "$duckdb_dir"
  npm install --no-audit --no-fund --prefix "$duckdb_dir" @duckdb/node-api@1.5.6-r.1
fi

# The text driver is registered in odbcinst.ini, pointing at the library this checkout builds.
bash "$repo/scripts/register-odbc-driver.sh" "$repo/build/src/odbc/libquorlin-odbc-text.so"
