#!/bin/sh
# Runs the kvrun demos: ./examples/demo.sh BUILD_DIR (make demo passes
# build/default). The drag demo writes its pictures to out/demo/.
# Exits non-zero on failure.
set -eu
build=${1:-build/default}
here=$(cd "$(dirname "$0")" && pwd)
kvrun="$(cd "$build" && pwd)/tools/kvrun"
if [ ! -x "$kvrun" ]; then
  echo "demo.sh: $kvrun not found; build first (make build)" >&2
  exit 1
fi
"$kvrun" "$here/demo.kv"
echo
pictures="$here/../out/demo"
mkdir -p "$pictures"
(cd "$pictures" && "$kvrun" "$here/drag.kv")
echo
echo "pictures of the drag demo:"
for f in "$pictures"/*.png; do echo "  $(cd "$(dirname "$f")" && pwd)/$(basename "$f")"; done
