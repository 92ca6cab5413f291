#!/usr/bin/env bash
# Installs what is missing, builds Vantorel and runs its main job on the built-in default: the
# editor on the default 48 x 48 cross screen and its playbill. Without a display the editor says how
# to start it under xvfb-run and shows the screen list and the playbill on the terminal instead, and
# makes the files the sign plays (the controller's program files) into a32sd in the work folder.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default

exec build/bin/vantorel
