#!/bin/sh
# Runs the kvrun demo: ./examples/demo.sh BUILD_DIR (make demo passes
# build/default). Exits with kvrun's status, non-zero on failure.
set -eu
build=${1:-build/default}
kvrun="$build/tools/kvrun"
if [ ! -x "$kvrun" ]; then
  echo "demo.sh: $kvrun not found; build first (make build)" >&2
  exit 1
fi
exec "$kvrun" "$(dirname "$0")/demo.kv"
