# The two commands: `make run` and `make test`. Both install what is missing first.
BUILD_DIR      ?= build
TEST_BUILD_DIR ?= build-test
WIN_BUILD_DIR  ?= build-windows
WIN32_BUILD_DIR ?= build-windows-i686
JOBS           ?= $(shell nproc 2>/dev/null || echo 2)
PREFIX         ?= /usr/local

.PHONY: all deps build run test install package bench fuzz clean windows

all: build

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUDGEPOST_TESTS=OFF \
		-DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/bin/nudgepost

install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

package: build windows
	cd $(BUILD_DIR) && cpack -G DEB
	cmake --build $(WIN_BUILD_DIR) --target windows_zip
	cp $(WIN_BUILD_DIR)/nudgepost-*-windows-x64.zip $(BUILD_DIR)/

# The Windows program: build-windows/bin/nudgepost.exe for x86-64, and a 32-bit build beside it.
windows: deps
	cmake -S . -B $(WIN_BUILD_DIR) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
		-DCMAKE_BUILD_TYPE=MinSizeRel -DNUDGEPOST_QT=OFF -DNUDGEPOST_WERROR=ON
	cmake --build $(WIN_BUILD_DIR) -j $(JOBS)
	cmake -S . -B $(WIN32_BUILD_DIR) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
		-DCMAKE_BUILD_TYPE=MinSizeRel -DNUDGEPOST_QT=OFF -DNUDGEPOST_WERROR=ON -DNUDGEPOST_TESTS=OFF
	cmake --build $(WIN32_BUILD_DIR) -j $(JOBS)

test: deps windows
	cmake -S . -B $(TEST_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
		-DNUDGEPOST_WERROR=ON -DNUDGEPOST_SANITIZE=ON
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	cd $(TEST_BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	@# The Windows program's tests run under Wine, all on one virtual display.
	xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" ctest --test-dir $(WIN_BUILD_DIR) --output-on-failure
	@# The libFuzzer run needs clang; the install step brings it, but a machine set up by hand may lack it.
	@if command -v clang++ >/dev/null 2>&1; then ./scripts/fuzz.sh; \
	else echo "clang++ not found: the 30 s fuzz run of the store's load path is skipped"; fi

bench: deps
	./scripts/bench.sh
	./scripts/bench-windows.sh

fuzz: deps
	./scripts/fuzz.sh

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(WIN_BUILD_DIR) $(WIN32_BUILD_DIR) build-fuzz build-bench
