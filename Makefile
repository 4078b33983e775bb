# EdgeMarks: `make run` starts the editor on its built-in simulated handset,
# `make test` runs every test. Both install what is missing first.

BUILD_DIR ?= build
ASAN_DIR ?= build-asan
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

FUZZ_DIR ?= build-fuzz

.PHONY: all deps configure build run test asan test-asan bench fuzz package clean

all: build

deps:
	@sh scripts/install-deps

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/src/app/edgemarks --simulator

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake -S . -B $(ASAN_DIR) -G Ninja -DEDGEMARKS_SANITIZE=ON -DEDGEMARKS_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(ASAN_DIR) -j $(JOBS)

test-asan: asan
	ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)

# The libFuzzer targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer);
# scripts/fuzz runs them.
fuzz:
	@sh scripts/install-deps fuzz
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DEDGEMARKS_SANITIZE=ON -DEDGEMARKS_FUZZ=ON \
		-DEDGEMARKS_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target \
		$$(for t in propertylist keyedarchive bookmarkentry directoryrecord resourcefork linkfile pasteboard shiftjis replyframe browserbookmarks backuparchive; do printf 'fuzz_%s ' $$t; done)

# The Debian package, in build/: edgemarks_<version>_<arch>.deb.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

bench: build
	@for b in $(BUILD_DIR)/bench/*/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
