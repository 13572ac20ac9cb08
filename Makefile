# Top-level entry points. `make test` builds the three presets and runs every test; `make demo`
# runs the sample CD's installer under Wine and saves screenshots in build/demo.
# The CMake presets own the build folders build/host, build/win32 and build/win64.

JOBS ?= 2
SHELL := /bin/bash

.PHONY: all deps host win32 win64 test test-unit test-e2e demo clean

all: host win32 win64

deps:
	bash scripts/install-deps.sh

# Each build configures its preset the first time, then only rebuilds.
host win32 win64: deps
	@[ -f build/$@/CMakeCache.txt ] || cmake --preset $@
	cmake --build build/$@ -j$(JOBS)

# Runs the unit tests and the end-to-end tests even when the first set fails, then fails if
# either did.
test: host win32 win64
	@status=0; \
	$(MAKE) --no-print-directory test-unit || status=1; \
	$(MAKE) --no-print-directory test-e2e || status=1; \
	if [ $$status -ne 0 ]; then echo "make test: FAILED"; else echo "make test: all tests passed"; fi; \
	exit $$status

test-unit:
	cd build/host && ctest -L unit --output-on-failure --no-tests=error -j$(JOBS)

test-e2e:
	cd build/win64 && ctest -L e2e --output-on-failure --no-tests=error -j$(JOBS)

demo: win64
	bash scripts/demo/demo.sh build/win64 build/demo

clean:
	rm -rf build/host build/win32 build/win64 build/demo
