#!/usr/bin/env bash
# The real program on a real X server; see scripts/gui-smoke.
set -euo pipefail
exec "$(dirname "${BASH_SOURCE[0]}")/../../scripts/gui-smoke" "$1"
