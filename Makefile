# The two commands a player or developer needs: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 30
SANITIZE_FLAGS = -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer

# `make package` builds in a folder of its own, without the tests.
PACKAGE_BUILD_DIR ?= build-package
PREFIX ?= /usr/local

.PHONY: all setup build run test test-sanitize fuzz bench package install clean

all: build

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR)/bin && ./yuunagi

# Every test has a time limit of its own; --timeout is the limit of any
# test that would lack one.
test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j $(JOBS)

# The engine, files, commands and tools tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, in a build folder of their own.
test-sanitize: setup
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DYUUNAGI_SANITIZE=ON \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)"
	cmake --build build-sanitize -j $(JOBS) --target sanitize_tests
	cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# Each reader fuzzed for FUZZ_SECONDS seconds (clang's libFuzzer); a finding fails.
fuzz: setup
	JOBS=$(JOBS) bash scripts/fuzz.sh $(FUZZ_SECONDS)

bench: build
	$(BUILD_DIR)/bin/yuunagi-bench
	$(BUILD_DIR)/bin/yuunagi-bench-kill-saves
	cd $(BUILD_DIR)/bin && QT_QPA_PLATFORM=offscreen ./yuunagi-bench-window-startup
	cd $(BUILD_DIR)/bin && QT_QPA_PLATFORM=offscreen ./yuunagi-bench-window-pace cpu
	cd $(BUILD_DIR)/bin && QT_QPA_PLATFORM=offscreen ./yuunagi-bench-window-pace pause
	cd $(BUILD_DIR)/bin && QT_QPA_PLATFORM=offscreen ./yuunagi-bench-window-pace memory
	cd $(BUILD_DIR)/bin && QT_QPA_PLATFORM=offscreen ./yuunagi-bench-scenario-list

# A Debian package of the installed game: $(PACKAGE_BUILD_DIR)/yuunagi_*.deb,
# the game in /usr/games and built with Debian's hardening flags.
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
package: setup
	cmake -S . -B $(PACKAGE_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
	  -DYUUNAGI_GAME_INSTALL_DIR=games \
	  -DCMAKE_CXX_FLAGS="$$($(DEB_FLAGS) CPPFLAGS) $$($(DEB_FLAGS) CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)"
	cmake --build $(PACKAGE_BUILD_DIR) -j $(JOBS)
	cd $(PACKAGE_BUILD_DIR) && cpack -G DEB

# Installs the game under $(PREFIX) (DESTDIR=... stages it elsewhere).
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD_DIR) $(PACKAGE_BUILD_DIR) build-sanitize build-fuzz
