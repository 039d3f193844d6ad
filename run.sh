#!/usr/bin/env bash
# Installs what the program needs, builds it and starts it on the bundled sample photo.
# Without a display it enlarges the sample with zentavo-cli instead and says where the result is.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/build.sh

sample=samples/astronaut.jpg
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/zentavo "$sample" "$@"
fi
mkdir -p out
build/bin/zentavo-cli --zoom 2 "$sample" out/astronaut-x2.png
echo "No display found: enlarged $sample with zentavo-cli; the result is $(pwd)/out/astronaut-x2.png"
