# Kavrex: the two set-up commands are `make run` and `make test` (see README.md).
BUILD ?= build
SAN_BUILD ?= build-san
CMAKE_FLAGS ?=

# The pictures of docs/ (the manual's and the pilot's), made from the stand-in; a test checks that
# the committed ones are what this makes today.
docs: build
	bash scripts/make-docs.sh $(BUILD)/bin/kavrex-sim docs

.PHONY: docs setup setup-run build run test test-fast test-san test-windows test-layers test-format test-fuzz fuzz bench clean

setup:
	@bash scripts/setup.sh

setup-run:
	@bash scripts/setup.sh run

build: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVREX_TESTS=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD)

# The program's main job on its built-in default scenario: only what it needs is installed and
# built (no tests, no benchmarks).
run: setup-run
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVREX_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD) --target kavrex-sim Kavrex
	$(BUILD)/bin/kavrex-sim

# The layer and layout checks; every test, in the optimised build and again under AddressSanitizer
# and UBSan; then the plug-in's sources compiled for 64-bit Windows, and each fuzzing harness
# briefly, with every committed reproducer replayed.
test: test-layers test-format test-fast test-san test-windows test-fuzz

test-fast: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

test-san: setup
	cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVREX_SANITIZE=ON -DKAVREX_TESTS=ON $(CMAKE_FLAGS)
	cmake --build $(SAN_BUILD)
	ctest --test-dir $(SAN_BUILD) --output-on-failure -j2

# No include from a lower layer to a higher one, in the plug-in or the host.
test-layers:
	bash scripts/check-layers.sh

# Every source in the layout of .clang-format.
test-format: setup
	bash scripts/check-format.sh

test-windows: setup
	bash scripts/check-windows.sh $(BUILD)/windows-check

test-fuzz: setup
	bash scripts/fuzz.sh 12

# A longer fuzzing campaign: FUZZ_SECONDS per harness.
FUZZ_SECONDS ?= 300
fuzz: setup
	bash scripts/fuzz.sh $(FUZZ_SECONDS)

# Benchmarks with the ratios against baselines measured in the same run.
bench: build
	$(BUILD)/bin/kavrex_bench --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true \
	  --benchmark_display_aggregates_only=true

clean:
	rm -rf $(BUILD) $(SAN_BUILD) build-fuzz
