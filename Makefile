# Front door: `make run` starts the program, `make test` runs the test suite.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=
# The program starts with the simulated analyser unless told otherwise (ARGS= for a real one).
ARGS ?= --simulate

.PHONY: run test bench bootstrap configure build clean

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
	@cmake --build $(BUILD) -j$(JOBS) --target pxr3-bench
	./$(BUILD)/bench/pxr3-bench

clean:
	rm -rf $(BUILD)
