# The two commands: `make run` and `make test`. Each installs what it is missing first: `make run` only what
# building and running need, `make test` the test tools as well.
BUILD_DIR       ?= build
TEST_BUILD_DIR  ?= build-test
WIN_BUILD_DIR   ?= build-windows
WIN32_BUILD_DIR ?= build-windows-i686
JOBS            ?= $(shell nproc 2>/dev/null || echo 2)
PREFIX          ?= /usr/local

# The program and its package are built with Debian's build flags: stack protector, fortified calls, and a
# read-only relocation table bound at start (hardening=+all brings bind-now).
DEB_BUILD_MAINT_OPTIONS ?= hardening=+all
export DEB_BUILD_MAINT_OPTIONS

.PHONY: all deps deps-package deps-test build run test install package windows bench fuzz clean

all: build

deps:
	./scripts/install-deps.sh run

deps-package:
	./scripts/install-deps.sh package

deps-test:
	./scripts/install-deps.sh test

# The release build in $(BUILD_DIR), shared by `make run`, `make install`, `make package` and the package test.
define build_release
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUDGEPOST_TESTS=OFF \
		-DCMAKE_INSTALL_PREFIX=$(PREFIX) \
		-DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)"
	cmake --build $(BUILD_DIR) -j $(JOBS)
endef

# The Windows program: $(WIN_BUILD_DIR)/bin/nudgepost.exe for x86-64 with its tests, and a 32-bit build beside it.
define build_windows
	cmake -S . -B $(WIN_BUILD_DIR) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
		-DCMAKE_BUILD_TYPE=MinSizeRel -DNUDGEPOST_QT=OFF -DNUDGEPOST_WERROR=ON \
		-DNUDGEPOST_I686_BUILD_DIR=$(abspath $(WIN32_BUILD_DIR))
	cmake --build $(WIN_BUILD_DIR) -j $(JOBS)
	cmake -S . -B $(WIN32_BUILD_DIR) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
		-DCMAKE_BUILD_TYPE=MinSizeRel -DNUDGEPOST_QT=OFF -DNUDGEPOST_WERROR=ON -DNUDGEPOST_TESTS=OFF
	cmake --build $(WIN32_BUILD_DIR) -j $(JOBS)
endef

build: deps
	$(build_release)

run: build
	./$(BUILD_DIR)/bin/nudgepost

install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

windows: deps-test
	$(build_windows)

# The Debian package, and the Windows program as a zip and as installers beside it, with their checksums.
package: deps-test
	$(build_release)
	$(build_windows)
	cd $(BUILD_DIR) && cpack -G DEB
	cmake --build $(WIN_BUILD_DIR) --target windows_zip
	cp $(WIN_BUILD_DIR)/nudgepost-*-windows-x64.zip $(BUILD_DIR)/
	cp $(WIN_BUILD_DIR)/nudgepost-*-windows-x64.msi $(WIN32_BUILD_DIR)/nudgepost-*-windows-x86.msi $(BUILD_DIR)/
	cd $(BUILD_DIR) && sha256sum nudgepost_*.deb nudgepost-*-windows-*.zip nudgepost-*-windows-*.msi > SHA256SUMS

test: deps-test
	$(build_release)
	$(build_windows)
	cmake -S . -B $(TEST_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
		-DNUDGEPOST_WERROR=ON -DNUDGEPOST_SANITIZE=ON -DNUDGEPOST_PACKAGE_BUILD_DIR=$(abspath $(BUILD_DIR))
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	@# ctest, the Windows program's tests under Wine, the fuzz stage, then one line: N passed, M failed.
	JOBS=$(JOBS) WIN_BUILD_DIR=$(WIN_BUILD_DIR) ./scripts/run-tests.sh $(TEST_BUILD_DIR)

bench: deps-test
	./scripts/bench.sh
	./scripts/bench-windows.sh

fuzz: deps-test
	./scripts/fuzz.sh

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(WIN_BUILD_DIR) $(WIN32_BUILD_DIR) build-fuzz build-bench
