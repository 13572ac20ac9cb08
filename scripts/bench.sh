#!/usr/bin/env bash
# Runs every benchmark, prints the table of figures against their aims and writes it, with the
# machine it ran on, into OUT_DIR/performance.md (and into DOC when given). Nothing here fails on
# a figure: a missed aim is a row that says so. The status is non-zero only when a benchmark
# could not run or did not do its work.
#
# Usage: bench.sh HOST_BUILD WIN64_BUILD WIN32_BUILD OUT_DIR [DOC]
#   HOST_BUILD   a host build tree without sanitizers (the bench preset): script_bench,
#                install_memory, call_counts
#   WIN64_BUILD  an x86_64 Windows build tree: the Wine benchmarks link its libraries, and its
#                setup.exe is the one started
#   WIN32_BUILD  an i686 Windows build tree: the sizes of setup.exe and launcher.exe
#   OUT_DIR      logs, figures, the Wine benchmarks' build and prefix, performance.md
#
# Settings (environment): BENCH_REPEAT (Wine repetitions, default 3), BENCH_REPEAT_LARGE (Wine
# repetitions of the 10,000-file runs, default 2), BENCH_STARTUP_RUNS (default 11),
# BENCH_HOST_REPEAT (host repetitions, default 5).
set -uo pipefail

if [ $# -lt 4 ] || [ $# -gt 5 ]; then
  sed -n '2,14p' "$0" >&2
  exit 2
fi
source_dir=$(cd "$(dirname "$0")/.." && pwd)
host_build=$(realpath "$1")
win64_build=$(realpath "$2")
win32_build=$(realpath "$3")
mkdir -p "$4"
out=$(realpath "$4")
doc=${5:-}
repeat=${BENCH_REPEAT:-5}
repeat_large=${BENCH_REPEAT_LARGE:-3}
startup_runs=${BENCH_STARTUP_RUNS:-11}
host_repeat=${BENCH_HOST_REPEAT:-5}

figures=$out/figures.txt
: >"$figures"
failures=0
started=$(date +%s)

log() { echo "[bench $(($(date +%s) - started)) s] $*" >&2; }

# figure NAME: the value recorded under NAME, empty when there is none.
figure() { awk -v name="$1" '$1 == name { value = $2 } END { if (value != "") print value }' "$figures"; }

add_figure() { echo "$1 $2" >>"$figures"; }

# --- The machine ---------------------------------------------------------------------------

load_average() { cut -d' ' -f1-3 /proc/loadavg; }

machine_facts() {
  local cpu cores memory os wine
  cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
  cores=$(nproc)
  memory=$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
  os="$(. /etc/os-release && echo "$PRETTY_NAME"), kernel $(uname -r)"
  wine=$(/usr/lib/wine/wine64 --version 2>/dev/null || echo "not found")
  printf '| CPU | %s |\n| cores | %s |\n| memory | %s |\n| OS | %s |\n| Wine | %s |\n' \
    "$cpu" "$cores" "$memory" "$os" "$wine"
  printf '| date | %s |\n' "$(date -u '+%Y-%m-%d %H:%M UTC')"
}

# The processes that used the processors most over their lifetime, other than this script's
# own tools: compilers, Wine sessions and tests of other runs.
other_load() {
  ps -eo pcpu=,comm= --sort=-pcpu | awk '$1 > 5 && $2 !~ /^(ps|awk|sed|head|bash)$/ { printf "%s %s%%, ", $2, $1; if (++n == 6) exit }' |
    sed 's/, $//'
}

# --- Host benchmarks -------------------------------------------------------------------------

# One run of a benchmark case in a process of its own, so that no earlier case has warmed the
# allocator for it; prints its processor time in milliseconds. Processor time rather than wall
# time: other builds share the two cores, and these cases neither wait nor sleep.
host_sample() {
  local name=$1
  "$host_build/bin/script_bench" --benchmark_filter="^${name}\$" --benchmark_min_time=0.5 \
    --benchmark_format=csv 2>>"$out/host.log" |
    awk -F, -v want="\"${name}\"" '$1 == want {
      if ($5 == "us") print $4 / 1000; else if ($5 == "ns") print $4 / 1000000; else print $4 }'
}

# The host cases run in rounds, every case once per round, and each figure is the fastest of its
# rounds: the virtual machine's processor has slow minutes, which only ever add time, and a
# case and its baseline then still meet the same minutes.
run_host_benchmarks() {
  log "host benchmarks ($host_build)"
  : >"$out/host.log"
  local names="LoadScript/100000 LoadScript/200000 ReadScriptBytes/100000 ReadScriptFile/100000
    WriteNewRecordOnDisk/100000 WriteNewRecordOnDisk/200000 MergeIntoRecordOnDisk/100000
    MergeIntoRecordOnDisk/200000 WriteRecordBytesOnDiskOnce/100000 WriteRecordBytesOnDiskOnce/200000
    NewRecordText/100000 MergedRecordText/100000"
  local samples="$out/host-samples.txt" round name value
  : >"$samples"
  for round in $(seq 1 "$host_repeat"); do
    for name in $names; do
      value=$(host_sample "$name")
      [ -n "$value" ] && echo "$name $value" >>"$samples"
    done
  done
  for name in $names; do
    value=$(awk -v want="$name" '$1 == want && (best == "" || $2 < best) { best = $2 } END { print best }' "$samples")
    if [ -z "$value" ]; then
      log "host case $name gave no figure"
      failures=$((failures + 1))
    else
      add_figure "host.$name" "$value"
    fi
  done
  if "$host_build/bin/install_memory" "$out" >"$out/memory.log" 2>&1; then
    awk '$1 == "figure" { print $2, $3 }' "$out/memory.log" >>"$figures"
  else
    log "install_memory failed (see $out/memory.log)"
    failures=$((failures + 1))
  fi
  if "$host_build/bin/call_counts" >"$out/calls.log" 2>&1; then
    awk '$1 == "figure" { print $2, $3 }' "$out/calls.log" >>"$figures"
  else
    log "call_counts failed (see $out/calls.log)"
    failures=$((failures + 1))
  fi
}

# --- Wine benchmarks -------------------------------------------------------------------------

build_wine_bench() {
  log "building the Wine benchmarks against $win64_build"
  local build=$out/wine-bench-build
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$source_dir/tests/bench/wine" -B "$build" \
      -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/x86_64-w64-mingw32.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel \
      -DSETUP_WIN_BUILD="$win64_build" >"$out/wine-bench-build.log" 2>&1 || return 1
  fi
  cmake --build "$build" -j2 >>"$out/wine-bench-build.log" 2>&1
}

# wine_bench LOG ARGS...: one run of wine_bench.exe; its figures go into the figures file.
wine_bench() {
  local log_file=$out/$1
  shift
  log "wine_bench $*"
  if run_wine "$out/wine-bench-build/bin/wine_bench.exe" "$@" </dev/null >"$log_file" 2>&1; then
    awk '$1 == "figure" { print $2, $3 }' "$log_file" >>"$figures"
  else
    log "wine_bench $1 failed (see $log_file)"
    failures=$((failures + 1))
  fi
  # What a run leaves below C:\bench goes faster from this side.
  rm -rf "$(prefix_c_dir)/bench"
}

run_wine_benchmarks() {
  source "$source_dir/scripts/wine-env.sh"
  if ! build_wine_bench; then
    log "the Wine benchmarks did not build (see $out/wine-bench-build.log)"
    failures=$((failures + 1))
    return
  fi
  make_template_prefix "$out/wine-template" || {
    failures=$((failures + 1))
    return
  }
  new_prefix "$out/wine-prefix" "$out/wine-template" || {
    failures=$((failures + 1))
    return
  }
  trap wine_teardown EXIT
  start_xvfb || {
    failures=$((failures + 1))
    return
  }
  wine_start
  export WINE_TIMEOUT=900

  # The installer beside the sample CD's script, and the minimal one-window programs.
  local start_folder
  start_folder="$(prefix_c_dir)/bench-start"
  mkdir -p "$start_folder"
  cp "$win64_build/bin/setup.exe" "$source_dir/examples/cd/setup.ini" "$start_folder/"
  cp "$out"/wine-bench-build/bin/minimal_window*.exe "$start_folder/"
  wine_bench wine-startup.log startup 'C:\bench-start\setup.exe' 'C:\bench-start\minimal_window.exe' \
    'C:\bench-start\minimal_window_imports.exe' "$startup_runs"

  wine_bench wine-progress.log progress-calls 500
  # 200 MiB in 2,000 files of 104,857 bytes, 100 to a folder.
  wine_bench wine-install200.log install install200 2000 104857 20 "$repeat" --window-share
  wine_bench wine-install10k.log install install10k 10000 1024 100 "$repeat_large" --window-share --keep-copies
  wine_bench wine-uninstall.log uninstall 10000 1000 "$repeat_large" --window-share
  wine_teardown
  trap - EXIT
  # The template stays for the next run; the prefix, with what the runs left in it, goes.
  rm -rf "$out/wine-prefix"
}

# --- Sizes -----------------------------------------------------------------------------------

collect_sizes() {
  local program
  for program in setup launcher; do
    if [ -f "$win32_build/bin/$program.exe" ]; then
      add_figure "size.$program" "$(stat -c %s "$win32_build/bin/$program.exe")"
    else
      log "$win32_build/bin/$program.exe is missing"
      failures=$((failures + 1))
    fi
  done
}

# --- The table -------------------------------------------------------------------------------

# row FIGURE MEASURED BASELINE KIND AIM [NOTE]: one line of the table.
#   KIND ratio:   MEASURED / BASELINE must be at most AIM
#   KIND limit:   MEASURED must be at most AIM (BASELINE is only shown)
# Values in milliseconds unless the figure's name says otherwise.
row() {
  local title=$1 measured=$2 baseline=$3 kind=$4 aim=$5 note=${6:-} unit=${7:-ms}
  if [ -z "$measured" ] || { [ "$kind" = ratio ] && [ -z "$baseline" ]; }; then
    printf '| %s | not measured | | | %s | no | %s |\n' "$title" "$(aim_text "$kind" "$aim" "$unit")" "$note"
    return
  fi
  awk -v title="$title" -v m="$measured" -v b="$baseline" -v kind="$kind" -v aim="$aim" -v note="$note" \
    -v unit="$unit" -v aimtext="$(aim_text "$kind" "$aim" "$unit")" 'BEGIN {
      shown_b = (b == "") ? "" : sprintf("%.1f %s", b, unit)
      if (kind == "ratio") { ratio = m / b; met = (ratio <= aim); shown_r = sprintf("%.2f×", ratio) }
      else { met = (m <= aim); shown_r = (b == "" || b == 0) ? "" : sprintf("%.2f×", m / b) }
      printf "| %s | %.1f %s | %s | %s | %s | %s | %s |\n", title, m, unit, shown_b, shown_r, aimtext,
        met ? "yes" : "**no**", note
    }'
}

aim_text() {
  case $1 in
    ratio) echo "≤ $2×" ;;
    limit) echo "≤ $2 $3" ;;
  esac
}

# How the baseline itself grows from 100,000 to 200,000 entries: one write call of twice the bytes.
write_growth() {
  awk -v a="$(figure host.WriteRecordBytesOnDiskOnce/100000)" -v b="$(figure host.WriteRecordBytesOnDiskOnce/200000)" \
    'BEGIN { if (a > 0 && b != "") printf "the one-call write of the same bytes grows %.2f× here", b / a }'
}

# window_note RUN: the note on a run's window work, from the profile of its runs with windows:
# the label, the bar and the message pumps (twice a file, once a folder in the installs), their
# share of the run, and the run without windows against the bare loop.
window_note() {
  awk -v label="$(figure "$1.whole.SetLabel_ms")" -v pumps="$(figure "$1.whole.PumpMessages_ms")" \
    -v bar="$(figure_sum "$1.whole." SetPosition_ms Position_ms StepIt_ms)" -v run="$(figure "$1.whole.run_mean_ms")" \
    -v q="$(figure "$1.whole_quiet_ms")" -v b="$(figure "$1.bare_ms")" 'BEGIN {
    if (run > 0 && pumps != "")
      printf "window calls: label %.0f ms, bar %.0f ms, message pumps %.0f ms, together %.0f%% of the run", \
        label, bar, pumps, 100 * (label + bar + pumps) / run
    if (q != "" && b > 0) printf "; the run without windows: %.2f× the bare loop", q / b
  }'
}

# figure_sum PREFIX NAME...: the sum of the figures PREFIX+NAME that are there.
figure_sum() {
  local prefix=$1 name sum=0 value
  shift
  for name in "$@"; do
    value=$(figure "$prefix$name")
    [ -n "$value" ] && sum=$(awk -v a="$sum" -v b="$value" 'BEGIN { print a + b }')
  done
  echo "$sum"
}

# text_note CASE: the share of a record figure that is the building of its text, without any
# file call, against the one-call write.
text_note() {
  awk -v t="$(figure "host.$1/100000")" -v w="$(figure host.WriteRecordBytesOnDiskOnce/100000)" 'BEGIN {
    if (t != "" && w > 0) printf "building the text alone: %.1f ms (%.1f× the write)", t, t / w
  }'
}

# The share of the quiet uninstallation that is the emptied folders: each listed for files, then
# removed. The bare loop deletes only the files, so the quiet run less that share is what compares
# with it.
folder_note() {
  awk -v l="$(figure uninstall.quiet.FindEntries_ms)" -v r="$(figure uninstall.quiet.RemoveDirectory_ms)" \
    -v m="$(figure uninstall.quiet.run_mean_ms)" -v q="$(figure uninstall.whole_quiet_ms)" \
    -v b="$(figure uninstall.bare_ms)" 'BEGIN {
    if (l == "" || r == "" || m <= 0) exit
    share = (l + r) / m
    printf "; of that run, %.0f%% lists and removes the emptied folders, which the bare loop does not do", 100 * share
    if (q != "" && b > 0) printf " (the rest of it: %.2f× the bare loop)", q * (1 - share) / b
  }'
}

table() {
  local memory_limit script_mb
  script_mb=$(awk -v b="$(figure memory.script_bytes)" 'BEGIN { if (b != "") printf "%.2f", b / 1048576 }')
  memory_limit=$(awk -v s="$script_mb" 'BEGIN { if (s != "") printf "%.1f", 4 * s + 8 }')
  echo "| figure | measured | baseline | ratio | aim | met | note |"
  echo "|---|---|---|---|---|---|---|"
  row "Wine: whole install, 200 MiB in 2,000 files" "$(figure install200.whole_ms)" "$(figure install200.bare_ms)" \
    ratio 1.10 "baseline: CopyFileA loop over the same files; $(window_note install200)"
  row "Wine: whole install, 10,000 files of 1 KiB" "$(figure install10k.whole_ms)" "$(figure install10k.bare_ms)" \
    ratio 1.5 "$(window_note install10k)"
  row "Host: load a script of 100,000 COPY entries" "$(figure host.LoadScript/100000)" \
    "$(figure host.ReadScriptFile/100000)" limit 50 "baseline: reading the file into memory"
  row "Host: load 200,000 entries against 100,000" "$(figure host.LoadScript/200000)" \
    "$(figure host.LoadScript/100000)" ratio 2.2 "linear"
  row "Host: write a new record of 100,000 entries" "$(figure host.WriteNewRecordOnDisk/100000)" \
    "$(figure host.WriteRecordBytesOnDiskOnce/100000)" ratio 3 "baseline: the same bytes in one write call; $(text_note NewRecordText); the rest reads whether a record is there, writes a temporary file and moves it into place (the step's copy of the uninstaller is not counted)"
  row "Host: merge 100,000 entries into an existing record" "$(figure host.MergeIntoRecordOnDisk/100000)" \
    "$(figure host.WriteRecordBytesOnDiskOnce/100000)" ratio 3 "baseline: the same bytes in one write call; a merge also reads the old record by the reader's rules, finds each of its keys to keep it in its place and moves the new record over it, which is the specified merge and not a cost of writing; $(text_note MergedRecordText)"
  row "Host: new record, 200,000 against 100,000 entries" "$(figure host.WriteNewRecordOnDisk/200000)" \
    "$(figure host.WriteNewRecordOnDisk/100000)" ratio 2.2 "linear; $(write_growth)"
  row "Host: merged record, 200,000 against 100,000 entries" "$(figure host.MergeIntoRecordOnDisk/200000)" \
    "$(figure host.MergeIntoRecordOnDisk/100000)" ratio 2.2 "linear; $(write_growth)"
  row "Wine: uninstall 10,000 files in 1,000 folders" "$(figure uninstall.whole_ms)" "$(figure uninstall.bare_ms)" \
    ratio 1.2 "baseline: DeleteFileA loop; $(window_note uninstall)$(folder_note)"
  row "Wine: start-up to the main dialog on the screen" "$(figure startup.setup_ms)" "$(figure startup.minimal_ms)" \
    ratio 1.2 "baseline: a program that shows one window; the same loading the DLLs setup.exe loads before its dialog shows: $(figure startup.minimal_imports_ms) ms"
  row "Size of setup.exe (i686)" "$(kib "$(figure size.setup)")" "" limit 200 "$(section_note)" KiB
  row "Size of launcher.exe (i686)" "$(kib "$(figure size.launcher)")" "" limit 32 "" KiB
  row "Host: peak memory of the 100,000-entry install" "$(figure memory.peak_resident_mb)" "$script_mb" limit \
    "$memory_limit" "baseline: the script's size; aim 4 × script + 8 MiB; heap at its peak while loading $(mib_figure memory.load_peak_heap_mb), during the steps $(mib_figure memory.install_peak_heap_mb)" MiB
}

kib() { awk -v b="$1" 'BEGIN { if (b != "") printf "%.1f", b / 1024 }'; }

mib_figure() { awk -v v="$(figure "$1")" 'BEGIN { if (v != "") printf "%.1f MiB", v }'; }

# The three largest sections of the i686 setup.exe, for the size row.
section_note() {
  size_sections | awk '$2 ~ /^[0-9]+$/ { printf "%s %.1f KiB\n", $1, $2 / 1024 }' | sort -k2 -nr | head -3 |
    paste -sd, - | sed 's/,/, /g; s/\.rsrc/.rsrc (the clips)/'
}

# The sections of the i686 setup.exe.
size_sections() {
  local index name size rest
  echo '```'
  i686-w64-mingw32-objdump -h "$win32_build/bin/setup.exe" 2>/dev/null | while read -r index name size rest; do
    [[ $index =~ ^[0-9]+$ ]] && printf '%-10s %8d bytes\n' "$name" "$((16#$size))"
  done
  echo '```'
}

# Every figure of one prefix, as "name value" lines in a code block.
figure_block() {
  echo '```'
  grep -E "^$1" "$figures" || true
  echo '```'
}

# The document's last section, from its "## Measured by hand" heading on, holds figures that no
# benchmark here takes (the i686 build under emulation); a new report keeps it as it was.
hand_section() {
  if [ -n "$doc" ] && [ -f "$doc" ]; then
    sed -n '/^## Measured by hand/,$p' "$doc"
  fi
}

write_report() {
  local report=$out/performance.md hand
  hand=$(hand_section)
  {
    echo "# Performance"
    echo
    echo "Generated by \`make bench\` (scripts/bench.sh); do not edit by hand, except the section"
    echo "\"Measured by hand\" at the end, which a new report carries over."
    echo
    echo "## Machine"
    echo
    echo "| | |"
    echo "|---|---|"
    machine_facts
    echo "| load average at start, end | $load_start; $(load_average) |"
    echo "| other busy processes at the end | $(other_load) |"
    echo
    echo "Other builds and Wine tests may share the processors during a run, and the virtual machine's"
    echo "processor has slow minutes. On the host every figure is the fastest of $host_repeat rounds"
    echo "(processor time, each case in a process of its own, every case once per round); under Wine"
    echo "it is the fastest of $repeat runs ($repeat_large for the 10,000-file runs; wall time; the kinds"
    echo "of run take turns, in an order that rotates between repetitions), of $startup_runs starts for"
    echo "the start-up; every run is listed at the end. Slow minutes only add time, so the fastest run"
    echo "is the one closest to the work itself. The Wine runs use the x86_64 build, the sizes the i686 build."
    echo
    echo "## Figures"
    echo
    table
    echo
    echo "## Where the time goes"
    echo
    echo "Cost of one call on the visible progress window under Wine, in microseconds"
    echo "(\`progress.per_file_sequence\` is what the copy step does per file: label, pump, bar, pump;"
    echo "\`set_position_all_blocks\` a change that adds or takes away every block; \`system_label_text\`"
    echo "and \`common_bar_position\`, for comparison, a new text for the system's label control and a"
    echo "new position for the common progress bar, which repaints itself through WM_PAINT each time;"
    echo "\`pump_after_copy\` one pump right after a 1 KiB CopyFileA, as in the copy step, where the"
    echo "pump's call to the wineserver takes longer than in the loop of \`pump_messages\` alone):"
    echo
    figure_block "progress\\."
    echo
    echo "Platform calls per file, counted on the simulated machine (1,000 files in 100 folders; the"
    echo "COPY list as one wildcard line per folder, or one line per file):"
    echo
    figure_block "calls\\."
    echo
    echo "The installations and the uninstallation with windows (\`whole\`) and without (\`quiet\`), by"
    echo "call under Wine: the mean milliseconds and number of calls per run in each kind of call, and"
    echo "\`outside_calls\` for the program's own code between the calls (the bare loops' figures are in"
    echo "the table and below):"
    echo
    figure_block "(install200|install10k|uninstall)\\.whole\\."
    echo
    figure_block "(install200|install10k|uninstall)\\.quiet\\."
    echo
    echo "The i686 setup.exe by section (the resources hold the two progress clips):"
    echo
    size_sections
    echo
    echo "Memory of the 100,000-entry install (host; heap counted by a replaced operator new):"
    echo
    figure_block "memory\\."
    echo
    echo "All runs under Wine (milliseconds), and the Wine process's peak working set around the"
    echo "installation runs:"
    echo
    echo '```'
    cat "$out"/wine-*.log 2>/dev/null | grep -E '^(runs|figure) (install|uninstall|startup)' | grep -v -E '\.(quiet|whole)\.' || true
    echo '```'
    echo
    echo "The host cases (fastest of the rounds, milliseconds of processor time):"
    echo
    figure_block "host\\."
    echo
    echo "Run time of the whole benchmark: $(($(date +%s) - started)) s."
    if [ -n "$hand" ]; then
      echo
      echo "$hand"
    fi
  } >"$report"
  echo
  table
  echo
  log "report: $report"
  if [ -n "$doc" ]; then
    mkdir -p "$(dirname "$doc")"
    cp "$report" "$doc"
    log "copied to $doc"
  fi
}

load_start=$(load_average)
run_host_benchmarks
collect_sizes
run_wine_benchmarks
write_report
if [ $failures -ne 0 ]; then
  log "$failures benchmark(s) did not run or did not do their work"
  exit 1
fi
