#!/usr/bin/env bash
# Runs win32_layer_test.exe under Wine in a prefix and display of its own.
# Usage: run_layer_test.sh SOURCE_DIR TEMPLATE_PREFIX WORK_DIR TEST_EXE SETUP_EXE [TEST OPTION]
# WINE_LANG picks the code page (ja_JP.UTF-8: 932, en_US.UTF-8: 1252).
set -uo pipefail
source_dir=$1 template=$2 work=$3 test_exe=$4 setup_exe=$5
source "$source_dir/scripts/wine-env.sh"

make_template_prefix "$template" || exit 1
rm -rf "$work"
mkdir -p "$work"
trap wine_teardown EXIT
new_prefix "$work/prefix" "$template" || exit 1
start_xvfb || exit 1
WINE_TIMEOUT=120 run_wine "$test_exe" "$(wine_path "$setup_exe")" "${@:6}"
