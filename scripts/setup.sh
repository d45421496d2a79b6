#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Quorlin needs, or with
# --build-deps only those that building it and its package needs.
set -euo pipefail

# What building the programs and the Debian package needs (the configuration also looks for the
# test and benchmark libraries).
build_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libcli11-dev
  ccache
  pxlib-dev unixodbc-dev libsqlite3-dev libzstd-dev libsnappy-dev libxlsxwriter-dev
  libasound2-dev libcurl4-openssl-dev
  dpkg-dev fakeroot file librsvg2-bin
)

# What running and testing them needs besides.
packages=(
  "${build_packages[@]}"
  xvfb xauth xdg-utils fonts-dejavu-core
  python3 python3-xlrd python3-dbfread libxml2-utils sqlite3 locales
  unixodbc odbcinst libqt6sql6-odbc python3-pyodbc libsqliteodbc
  tinyproxy nodejs
  python3-openpyxl jq postgresql
  miller gnumeric gdal-bin
  lintian desktop-file-utils appstream man-db bash-completion
)

# --build-deps: only what building needs, and the system's ODBC configuration is left alone.
build_only=false
[ "${1:-}" = --build-deps ] && build_only=true
$build_only && packages=("${build_packages[@]}")

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

$build_only && exit 0

# Files are checked to read the same in a German locale (day-first dates, decimal comma).
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  "${sudo_cmd[@]}" locale-gen
fi

repo=$(cd "$(dirname "$0")/.." && pwd)

# DuckDB's Node.js package reads the Parquet files and runs the engine statements in the tests
# (and is the peer of the Parquet benchmark); it stays in the checkout, shared by every build folder.
if ! command -v npm >/dev/null; then
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends npm
fi
duckdb_dir="$repo/.cache/test-tools/duckdb"
if [ ! -d "$duckdb_dir/node_modules/@duckdb/node-api" ]; then
  mkdir -p "$duckdb_dir"
  npm install --no-audit --no-fund --prefix "$duckdb_dir" @duckdb/node-api@1.5.6-r.1
fi

# The text driver is registered in odbcinst.ini, pointing at the library this checkout builds.
bash "$repo/scripts/register-odbc-driver.sh" "$repo/build/src/odbc/libquorlin-odbc-text.so"
