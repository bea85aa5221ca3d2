# The two commands a player or developer needs: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all setup build run test bench clean

all: build

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR)/bin && ./yuunagi

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD_DIR)/bin/yuunagi-bench
	cd $(BUILD_DIR)/bin && QT_QPA_PLATFORM=offscreen ./yuunagi-bench-window-startup
	cd $(BUILD_DIR)/bin && QT_QPA_PLATFORM=offscreen ./yuunagi-bench-window-pace cpu
	cd $(BUILD_DIR)/bin && QT_QPA_PLATFORM=offscreen ./yuunagi-bench-window-pace memory

clean:
	rm -rf $(BUILD_DIR)
