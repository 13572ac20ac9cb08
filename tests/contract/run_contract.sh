#!/usr/bin/env bash
# Runs the contract tests of the Win32 layer under Wine, in a prefix of their own, in the
# locale WINE_LANG gives (ja_JP.UTF-8: code page 932).
# Usage: run_contract.sh SOURCE_DIR TEMPLATE_PREFIX WORK_DIR CONTRACT_EXE
set -uo pipefail
source_dir=$1 template=$2 work=$3 test_exe=$4
source "$source_dir/scripts/wine-env.sh"

make_template_prefix "$template" || exit 1
rm -rf "$work"
mkdir -p "$work"
trap wine_teardown EXIT
new_prefix "$work/prefix" "$template" || exit 1
wine_start
WINE_TIMEOUT=240 run_wine "$test_exe" --gtest_color=no
