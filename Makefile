MAKEFLAGS += --no-print-directory
# Ondrel: the user's entry points.
#   make test   install what is missing, build, run every test (and again under sanitizers)
#   make bench  run the benchmarks
#   make run    install what is missing, build and start the desktop monitor
#   make demo   render a synthesized recording through every view into build/demo

BUILD    := build/release
SANITIZE := build/sanitize
JOBS     ?= $(shell nproc 2>/dev/null || echo 2)

DEMO       := build/demo
DEMO_VIEWS := decibel analog spectrum-detail spectrum spectrum-simple trace scope

.PHONY: all deps build test test-release test-sanitize bench demo run clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

$(SANITIZE)/CMakeCache.txt: | deps
	cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DONDREL_SANITIZE=ON

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

test-release: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps $(SANITIZE)/CMakeCache.txt
	cmake --build $(SANITIZE) -j $(JOBS)
	cd $(SANITIZE) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

test: test-release test-sanitize

# The core and renderer benchmarks, then the running program under a virtual display with a
# private sound server (CPU per view over BENCH_SECONDS, and latency).
BENCH_SECONDS ?= 30
bench: build
	$(BUILD)/bench/ondrel_bench
	bash bench/desktop-bench.sh $(BUILD)/app/ondrel $(BUILD)/tools/ondrel-demo-signal \
		$(BUILD)/bench/ondrel-latency-bench $(BENCH_SECONDS)

# Renders a synthesized recording through every view into build/demo, plus a contact sheet.
demo: build
	@mkdir -p $(DEMO)
	$(BUILD)/tools/ondrel-demo-signal $(DEMO)/demo.wav
	@for view in $(DEMO_VIEWS); do \
		$(BUILD)/tools/ondrel-render --view $$view --out $(DEMO)/$$view.png $(DEMO)/demo.wav || exit 1; \
	done
	$(BUILD)/tools/ondrel-contact-sheet $(DEMO)/contact-sheet.png $(foreach v,$(DEMO_VIEWS),$(DEMO)/$(v).png)
	@echo "Pictures in $(DEMO)/"

# Starts the monitor on the sound server's default input.
run: build
	@$(BUILD)/app/ondrel

clean:
	rm -rf build
