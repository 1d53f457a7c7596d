MAKEFLAGS += --no-print-directory
# Two commands for a group that wants to play: `make run` and `make test`. Both install
# what is missing from Debian's packages first; the rest is CMake.

BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
JOBS ?= $(shell nproc)

.PHONY: all deps build run test test-sanitize lint bench package windows test-windows screenshot pot clean

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

# Layout and static analysis of our own code.
lint: build
	scripts/lint.sh $(BUILD_DIR)

# Frame cost, frame rate, start-up time and memory; run it on an otherwise idle machine. The
# games it starts with phones save theirs beside the build, not in the user's own folder.
bench: build
	cd $(BUILD_DIR) && XDG_STATE_HOME=$$PWD/bench-state ../scripts/with-display.sh ./bench/frame_bench

# A Debian package for /usr, built apart from the development build.
PACKAGE_DIR ?= build-package
package: deps
	@[ -f $(PACKAGE_DIR)/CMakeCache.txt ] || cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DKRAXELBRETT_TESTS=OFF
	@cmake --build $(PACKAGE_DIR) -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack
	@ls $(PACKAGE_DIR)/kraxelbrett_*.deb

# The game for 64-bit Windows as a zip, cross-built with MinGW-w64 against SFML and the libraries
# under it, built from Debian's sources (once; afterwards only the game is built again).
WINDOWS_DIR ?= build-windows
windows: build
	@bash scripts/install-deps.sh windows
	JOBS=$(JOBS) scripts/build-windows.sh $(BUILD_DIR) $(WINDOWS_DIR)

# The Windows build under Wine, frame for frame against this build.
test-windows: windows
	scripts/test-windows.sh $(BUILD_DIR) $(WINDOWS_DIR)

# The README's pictures: the real game's first frame, a game in play, one with phones, and
# the sofa view's card and podium and the phones' lobby (their reference pictures).
screenshot: build
	scripts/with-display.sh scripts/screenshot.sh $(BUILD_DIR) docs/board.png
	cd $(BUILD_DIR) && ../scripts/with-display.sh ./make_screenshot ../docs/in-play.png
	KRAXELBRETT_TV_SHOT=$(CURDIR)/docs/phones-tv.png KRAXELBRETT_PHONE_SHOT=$(CURDIR)/docs/phones-phone.png \
	  tests/e2e/phones.sh $(BUILD_DIR)
	cp tests/golden/sofa-card.png tests/golden/sofa-podium.png docs/
	cp tests/golden/lobby.png docs/phones-lobby.png

# The template of the game's texts, extracted anew from the sources, and every translation
# brought up to date with it (new texts untranslated, changed ones marked fuzzy).
pot: deps
	scripts/make-pot.sh po/kraxelbrett.pot
	@for po in po/*.po; do msgmerge --quiet --update --backup=none --no-wrap --add-location=file $$po po/kraxelbrett.pot || exit 1; done

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(PACKAGE_DIR) $(WINDOWS_DIR)
