#!/usr/bin/env bash
# Makes the build tree's template Wine prefix ($WINE_TEMPLATE) if it is missing or outdated.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
: "${WINE_TEMPLATE:?set WINE_TEMPLATE to the template prefix folder}"
make_template_prefix "$WINE_TEMPLATE"
