# Quick start: `make run` builds and runs the program (no test is compiled);
# `make test` builds the program and the tests and runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: configure build run test clean

configure:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j $(JOBS) --target percorso

run: build
	$(BUILD)/bin/percorso

test: configure
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure --no-tests=error -j $(JOBS)

clean:
	rm -rf $(BUILD)
