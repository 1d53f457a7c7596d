MAKEFLAGS += --no-print-directory
# Two commands for a group that wants to play: `make run` and `make test`. Both install
# what is missing from Debian's packages first; the rest is CMake.

BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
JOBS ?= $(shell nproc)

.PHONY: all deps build run test test-sanitize bench screenshot clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD_DIR)/CMakeCache.txt
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR) && ./kraxelbrett

test: build
	scripts/with-display.sh ctest --test-dir $(BUILD_DIR) --output-on-failure

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	@[ -f $(SANITIZE_DIR)/CMakeCache.txt ] || cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DKRAXELBRETT_SANITIZE=ON
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	scripts/with-display.sh ctest --test-dir $(SANITIZE_DIR) --output-on-failure

# Frame cost, frame rate, start-up time and memory; run it on an otherwise idle machine.
bench: build
	cd $(BUILD_DIR) && ../scripts/with-display.sh ./bench/frame_bench

screenshot: build
	scripts/with-display.sh scripts/screenshot.sh $(BUILD_DIR) docs/board.png

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
