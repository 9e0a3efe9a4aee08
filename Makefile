# Thin wrapper over CMake. `make run` builds and starts the program, `make studio` the studio;
# `make test` builds and runs every test, with warnings as errors; `make package` writes
# build/arraypattern_<version>_amd64.deb.
# All install missing packages first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_OPTIONS ?=

.PHONY: deps configure build run studio test check package bench clean

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_OPTIONS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/arraypattern

# The design studio, the second window on the same engine.
studio: build
	./$(BUILD)/arraypattern-studio

# CI's build: everything a packager may switch off is switched on again.
test check: CMAKE_OPTIONS += -DBUILD_TESTING=ON -DARRAYPATTERN_BENCHMARKS=ON \
	-DARRAYPATTERN_WARNINGS_AS_ERRORS=ON
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The developer's loop: every test but those labelled slow (lint, soak, package).
check: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE slow

package: build
	cmake --build $(BUILD) --target package

bench: build
	./$(BUILD)/bench/bench_core
	./$(BUILD)/bench/bench_gui
	./$(BUILD)/bench/bench_studio
	bash bench/cli_processes.sh $(BUILD)/arraypattern-cli

clean:
	rm -rf $(BUILD)
