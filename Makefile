# Thin wrapper over CMake. The two commands of the README:
#   make demo   installs what is missing, builds, converts the bundled example into out/
#   make test   installs what is missing, builds, runs every test (also under the sanitizers)
# and, for installing:
#   make package   builds the Debian package BUILD/tolvane_VERSION_ARCH.deb
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan

.PHONY: demo test deps build test-asan package clean

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-asan

# The library's tests once more with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_SANITIZE=ON \
	  -DTOLVANE_BUILD_UI=OFF -DTOLVANE_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target tolvane_tests tolvane-convert make_example_photos
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -L library

# dpkg-shlibdeps (dpkg-dev) and file give the package its dependencies.
package: build
	@bash scripts/install-deps.sh --package
	@cd $(BUILD) && cpack -G DEB >/dev/null
	@ls $(BUILD)/tolvane_*.deb

demo: build
	@bash scripts/demo.sh $(BUILD) out

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) out
