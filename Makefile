# Kestrin: `make run` and `make test` are all a fresh Debian machine needs.
BUILD      ?= build
NATIVE_DIR := $(BUILD)/native
WIN_DIR    := $(BUILD)/win
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps native win build run test bench clean

all: build

deps:
	@./tools/deps.sh

native: deps
	@cmake -S . -B $(NATIVE_DIR) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE_DIR) -j $(JOBS)

win: deps
	@cmake -S . -B $(WIN_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN_DIR) -j $(JOBS)

build: native win

run: build
	@./tools/run.sh $(WIN_DIR)

test: build
	@./tools/run-tests.sh $(NATIVE_DIR) $(WIN_DIR)

bench: build
	@./tools/bench.sh $(NATIVE_DIR) $(WIN_DIR)

clean:
	rm -rf $(BUILD)
