#!/usr/bin/env bash
# Builds BrindleDSC and opens it, on a Debian 12 desktop: installs what building needs, builds the
# release configuration and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-missing.sh cmake ninja-build g++ qt6-base-dev libwayland-dev librsvg2-bin dpkg-dev
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/app/brindledsc
