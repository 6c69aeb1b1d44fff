# Kestrin: `make run` and `make test` are all a fresh Debian machine needs.
BUILD      ?= build
NATIVE_DIR := $(BUILD)/native
WIN_DIR    := $(BUILD)/win
FUZZ_DIR   := $(BUILD)/fuzz
FUZZ_SECONDS ?= 600
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps native win fuzzers build run test fuzz bench clean

all: build

deps:
	@./tools/deps.sh

native: deps
	@cmake -S . -B $(NATIVE_DIR) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE_DIR) -j $(JOBS)

win: deps
	@cmake -S . -B $(WIN_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN_DIR) -j $(JOBS)

# The libFuzzer targets: clang, in a configuration of their own.
fuzzers: deps
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++ -DKESTRIN_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_targets

build: native win

run: build
	@./tools/run.sh $(WIN_DIR)

test: build fuzzers
	@./tools/run-tests.sh $(NATIVE_DIR) $(WIN_DIR) $(FUZZ_DIR)

# Every fuzz target for FUZZ_SECONDS, one after the other; the grown corpus is kept in $(FUZZ_DIR)/corpus.
fuzz: fuzzers
	@bash tests/fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS) --keep-corpus

bench: build
	@./tools/bench.sh $(NATIVE_DIR) $(WIN_DIR)

clean:
	rm -rf $(BUILD)
