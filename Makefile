# Entry points. `make test` is all a fresh machine needs.
SHELL := /bin/bash
NATIVE_PRESETS := native native-asan native-tsan
FUZZ_SECONDS ?= 60
# The short pass of every fuzz target that `make test` runs.
FUZZ_TEST_SECONDS ?= 30
FUZZ_JOBS ?= 2
JOBS ?= $(shell nproc)

BUILDS := $(addprefix build-,$(NATIVE_PRESETS) win32 native-fuzz)

.PHONY: all setup test native win32 test-native test-win32 test-fuzz fuzz play bench clean $(BUILDS)

all: native win32

setup:
	@scripts/setup

$(BUILDS): build-%: setup
	@cmake --preset $* >/dev/null
	@cmake --build --preset $* -j $(JOBS)

native: build-native
win32: build-win32

test-native: $(addprefix build-,$(NATIVE_PRESETS))
	@for p in $(NATIVE_PRESETS); do \
	  echo "== ctest ($$p)"; ctest --preset $$p -j $(JOBS) --no-tests=error || exit 1; done

# Win32 tests run under wine with one display and one wineserver for the run.
# A case that fails is run once more: a wine process can die at start-up
# under load, and a real fault fails twice.
test-win32: build-win32
	@echo "== ctest (win32, under wine)"
	@scripts/wine/session --root build/win32/wine ctest --preset win32 -j $(JOBS) --no-tests=error --repeat until-pass:2

# Every fuzz target for a short while, two at a time; a finding fails.
test-fuzz: build-native-fuzz
	@echo "== fuzz ($(FUZZ_TEST_SECONDS) s per target)"
	@scripts/run-fuzz -j $(FUZZ_JOBS) build/native-fuzz $(FUZZ_TEST_SECONDS)

test: test-native test-win32 test-fuzz

fuzz: build-native-fuzz
	@scripts/run-fuzz -j $(FUZZ_JOBS) build/native-fuzz $(FUZZ_SECONDS)

# Speed against the bare decoder libraries, ffmpeg and SoX, into
# bench/results/latest.md (see README); BENCH_QUICK=1 for a short trial run.
bench: build-native build-win32
	@scripts/bench

# The player under wine with FILES (default: the demo tracks); see README.
play:
	@scripts/play $(FILES)

clean:
	rm -rf build
