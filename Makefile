# Everyday entry points. `make run` and `make test` set up a fresh Debian
# machine on their own (scripts/bootstrap installs what is missing).

PRESET ?= debug
BUILD  := build/$(PRESET)
JOBS   ?= $(shell nproc)

.PHONY: bootstrap configure build run test asan tsan bench clean

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

run: build
	@scripts/run-demo $(BUILD)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest -j $(JOBS) --output-on-failure --timeout 300

asan:
	@$(MAKE) --no-print-directory test PRESET=asan

tsan: bootstrap
	@cmake --preset tsan >/dev/null
	@cmake --build --preset tsan -j $(JOBS)
	@cd build/tsan && QT_QPA_PLATFORM=offscreen ctest -j $(JOBS) -L threads --output-on-failure --timeout 300

bench: bootstrap
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)
	@scripts/run-benchmarks build/release

clean:
	rm -rf build
