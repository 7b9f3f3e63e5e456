# Quick start: `make run` builds and runs the program; `make test` builds and runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: build run test clean

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/percorso

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
