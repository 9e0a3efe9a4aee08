# Thin wrapper over CMake. `make run` builds and starts the program;
# `make test` builds and runs every test. Both install missing packages first.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test bench clean

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/arraypattern

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	./$(BUILD)/bench/bench_core
	./$(BUILD)/bench/bench_gui

clean:
	rm -rf $(BUILD)
