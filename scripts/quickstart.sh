#!/usr/bin/env bash
# Installs what is missing, builds Vantorel and runs its main job on the built-in default: the
# data folder with the default 48 x 48 cross screen and its playbill.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default

cli=build/bin/vantorel-cli
echo
echo "== Screens =="
"$cli" screens list
echo
echo "== Playbill of screen 1 =="
"$cli" playbill show --screen 1
