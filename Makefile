# The two commands of the README. Both install what is missing, configure and
# build into build/; `run` then opens the editor on the sample map, `test`
# runs the whole test suite.

BUILD_DIR := build
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: run test build deps deps-run configure bench clean

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

test: deps
	$(MAKE) build
	cd $(BUILD_DIR) && ctest --output-on-failure

run: deps-run
	$(MAKE) build
	sh scripts/run-sample.sh $(BUILD_DIR)/bin

bench: deps-run
	$(MAKE) build
	sh scripts/run-benchmarks.sh $(BUILD_DIR)/bin

clean:
	rm -rf $(BUILD_DIR)
