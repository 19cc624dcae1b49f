# Front door: `make run` starts the program, `make test` runs the test suite.
BUILD ?= build
JOBS ?= 2
# ccache finds its results again from any checkout of the tree (CI builds a fresh clone).
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
CMAKE_FLAGS ?=
# The program starts with the simulated analyser unless told otherwise (ARGS= for a real one).
ARGS ?= --simulate

.PHONY: run test bench fuzz format bootstrap configure build clean package package-check

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/pxr3 $(ARGS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest -j$(JOBS) --output-on-failure

bench: bootstrap
	@cmake -S . -B $(BUILD) -DPXR3_BENCH=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j$(JOBS) --target pxr3-bench pxr3-pty-analyser
# The program on a serial port is measured with its windows on a display: Xvfb when there is one.
	$$(command -v xvfb-run >/dev/null && echo xvfb-run -a) ./$(BUILD)/bench/pxr3-bench

# Each fuzz target runs FUZZ_SECONDS on a copy of its corpus; a crash found fails the run.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= link nuclide-file settings-file table-file table-round-trip number-text publish-queue
fuzz: bootstrap
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DPXR3_FUZZ=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build build-fuzz -j$(JOBS)
	fuzz/run build-fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# A Debian package of the program in $(BUILD)/, for /usr, and its check (files, lintian, an
# install and removal when run as root).
package: bootstrap
	@cmake -S . -B $(BUILD) -DCMAKE_INSTALL_PREFIX=/usr $(CMAKE_FLAGS) >/dev/null
	@rm -f $(BUILD)/pxr3_*.deb
	@cmake --build $(BUILD) -j$(JOBS) --target package

package-check: package
	scripts/check-package $(BUILD)

# Lays out every source file as .clang-format says.
format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
