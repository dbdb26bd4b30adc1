# The two commands of the README. Both install what is missing and configure
# into build/; `run` builds the editor and vellumar-cli and opens the editor on
# the sample map, `test` builds everything and runs the whole test suite.

BUILD_DIR := build
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The fuzz harnesses (clang, sanitizers) build apart; FUZZ_SECONDS=N runs each for N seconds.
FUZZ_BUILD_DIR := build-fuzz
FUZZ_SECONDS ?=

.PHONY: run test build build-programs deps deps-run configure bench clean fuzz fuzz-build install package check-package \
        windows test-windows deps-windows

# Where `make install` puts the program (DESTDIR=... stages it below a folder).
PREFIX ?= /usr/local

# What the editor needs, and what the test suite adds (Wine, mingw-w64, the
# freedesktop tools, clang): a user who only runs the editor skips the latter.
deps-run:
	sh scripts/install-deps.sh run

deps:
	sh scripts/install-deps.sh test

configure:
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
	    cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) -DCMAKE_CXX_COMPILER_LAUNCHER=$$(command -v ccache); \
	fi

build: configure
	cmake --build $(BUILD_DIR)

# Only the two programs and what they link: no tests, benchmarks or Windows
# test programs.
build-programs: configure
	cmake --build $(BUILD_DIR) --target vellumar vellumar-cli

test: deps
	$(MAKE) build
	$(MAKE) fuzz-build
	cd $(BUILD_DIR) && ctest --output-on-failure || { sh $(CURDIR)/scripts/failed-checks.sh .; exit 1; }

run: deps-run
	$(MAKE) build-programs
	sh scripts/run-sample.sh $(BUILD_DIR)/bin

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package, build/vellumar_VERSION_ARCH.deb: only the two programs
# and the files the package holds are built, no tests or benchmarks.
package: deps-run
	$(MAKE) configure
	cmake --build $(BUILD_DIR) --target deb-package

# Installs the package on this machine, checks it and removes it (root).
check-package: deps
	$(MAKE) configure
	bash scripts/check-package.sh $(BUILD_DIR)

bench: deps-run
	$(MAKE) build
	sh scripts/run-benchmarks.sh $(BUILD_DIR)/bin

# One libFuzzer harness per reader of the program's input files, built with
# clang into $(FUZZ_BUILD_DIR)/ with their seed corpus; `make test` replays them.
fuzz-build:
	@if [ ! -f $(FUZZ_BUILD_DIR)/build.ninja ]; then \
	    cmake -S . -B $(FUZZ_BUILD_DIR) $(CMAKE_FLAGS) -DVELLUMAR_FUZZ=ON \
	        -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_COMPILER_LAUNCHER=$$(command -v ccache); \
	fi
	cmake --build $(FUZZ_BUILD_DIR)

fuzz: deps
	$(MAKE) fuzz-build
	@if [ -n "$(FUZZ_SECONDS)" ]; then sh scripts/run-fuzz.sh run $(FUZZ_BUILD_DIR) $(FUZZ_SECONDS); fi

# The Windows edition: Qt and libjpeg-turbo cross-built from Debian's source
# packages (kept in ~/.cache/vellumar/), the programs in $(WINDOWS_BUILD_DIR)/,
# the portable zip and the installer there; its tests run under Wine and
# compare with the Linux programs of $(BUILD_DIR)/.
WINDOWS_BUILD_DIR := build-windows

deps-windows:
	sh scripts/install-deps.sh windows

windows: deps-windows
	bash scripts/windows/build.sh $(WINDOWS_BUILD_DIR)

test-windows: windows
	$(MAKE) build-programs
	bash scripts/windows/test.sh $(WINDOWS_BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_BUILD_DIR) $(WINDOWS_BUILD_DIR)
