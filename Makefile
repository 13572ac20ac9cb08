# Top-level entry points. `make test` builds the three presets and runs every test; `make demo`
# runs the sample CD's installer under Wine and saves screenshots in build/demo; `make dist`
# packs the release archive into build/dist.
# The CMake presets own the build folders build/host, build/win32 and build/win64.

JOBS ?= 2
SHELL := /bin/bash

.PHONY: all deps host win32 win64 fuzz-build test test-unit test-e2e test-fuzz fuzz demo dist bench clean

all: host win32 win64

deps:
	bash scripts/install-deps.sh

# Each build configures its preset the first time, then only rebuilds. The host build needs only
# the compilers (make deps installs them, as root), neither root nor Wine; the Windows builds and
# everything after them go through the dependency step.
host:
	@[ -f build/$@/CMakeCache.txt ] || cmake --preset $@
	cmake --build build/$@ -j$(JOBS)

win32 win64: deps
	@[ -f build/$@/CMakeCache.txt ] || cmake --preset $@
	cmake --build build/$@ -j$(JOBS)

# The libFuzzer targets, built with clang in their own preset.
fuzz-build: deps
	@[ -f build/fuzz/CMakeCache.txt ] || cmake --preset fuzz
	cmake --build build/fuzz -j$(JOBS)

# Runs the unit, end-to-end and short fuzz tests even when an earlier set fails, then fails if
# any did.
test: deps host win32 win64 fuzz-build
	@status=0; \
	$(MAKE) --no-print-directory test-unit || status=1; \
	$(MAKE) --no-print-directory test-e2e || status=1; \
	$(MAKE) --no-print-directory test-fuzz || status=1; \
	if [ $$status -ne 0 ]; then echo "make test: FAILED"; else echo "make test: all tests passed"; fi; \
	exit $$status

test-unit:
	cd build/host && ctest -L unit --output-on-failure --no-tests=error -j$(JOBS)

test-e2e:
	cd build/win64 && ctest --output-on-failure --no-tests=error -j$(JOBS)
	cd build/win32 && ctest --output-on-failure --no-tests=error -j$(JOBS)

test-fuzz:
	cd build/fuzz && ctest -L fuzz --output-on-failure --no-tests=error

# Longer fuzzing: FUZZ_SECONDS per target (default 300), corpora kept in build/fuzz/work.
FUZZ_SECONDS ?= 300
fuzz: fuzz-build
	cd build/fuzz && FUZZ_SECONDS=$(FUZZ_SECONDS) ctest -L fuzz --output-on-failure --timeout 0

# The demo is try-cd.sh on the sample CD: the i686 product when the 32-bit Wine is set up
# (scripts/install-wine32.sh, which the deps step runs), the x86_64 build otherwise. The sample's
# movie file is large enough that the copy lasts a few seconds, so the progress window is
# photographed while it works.
demo: win64 win32
	@[ -f build/host/CMakeCache.txt ] || cmake --preset host
	cmake --build build/host -j$(JOBS) --target setupcheck
	@if bash scripts/install-wine32.sh --check >/dev/null 2>&1; then arch=win32; else arch=win64; fi; \
	CDSETUP_BUILD=build/$$arch bash scripts/make-sample-cd.sh build/demo/sample-cd 192 && \
	WINE_ARCH=$$arch CDSETUP_BUILD=build/$$arch bash scripts/try-cd.sh build/demo/sample-cd build/demo

# The release archive build/dist/cdsetup-<version>.zip, from the i686 programs alone.
dist: deps
	@[ -f build/win32/CMakeCache.txt ] || cmake --preset win32
	cmake --build build/win32 -j$(JOBS) --target setup launcher setupcheck clips
	@[ -f build/host/CMakeCache.txt ] || cmake --preset host
	cmake --build build/host -j$(JOBS) --target setupcheck
	bash scripts/make-dist.sh build/win32 build/dist

# Benchmarks: host figures from the bench preset (optimised, no sanitizers), Wine figures
# against the win64 build, sizes of the win32 build. Prints the table of figures and aims and
# writes it, with the machine it ran on, into docs/performance.md; logs, data and the Wine
# prefix stay in build/bench/results.
# Configured every time: a build tree made before a benchmark was added would not know its target.
bench: deps win64 win32
	cmake --preset bench >/dev/null
	cmake --build build/bench -j$(JOBS) --target script_bench install_memory call_counts
	bash scripts/bench.sh build/bench build/win64 build/win32 build/bench/results docs/performance.md

clean:
	rm -rf build
