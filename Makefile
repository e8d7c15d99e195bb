# Everyday entry points. `make run` and `make test` set up a fresh Debian
# machine on their own (scripts/bootstrap installs what is missing).

PRESET ?= debug
BUILD  := build/$(PRESET)
JOBS   ?= $(shell nproc)

.PHONY: bootstrap configure build run test test-windows package-windows test-arm64 package-arm64 asan tsan bench bench-windows bench-arm64 soak package screenshots screenshots-windows fuzz clean

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

# Everything that needs no window, cross-built for Windows with mingw-w64 into
# build/windows, and its tests run by CTest under Wine.
test-windows:
	@scripts/bootstrap windows
	@cmake --preset windows >/dev/null
	@scripts/wine-env build/windows cmake --build --preset windows -j $(JOBS)
	@scripts/wine-env build/windows ctest --test-dir build/windows -j $(JOBS) --output-on-failure --timeout 300

# The Linux programs and every Linux suite cross-built for arm64 into
# build/arm64 (optimised, no sanitizers, no benchmarks), the suites run by
# CTest under qemu-user, window tests on Qt's offscreen platform.
ARM64_BUILD := build/arm64
test-arm64:
	@scripts/bootstrap arm64
	@cmake --preset arm64 >/dev/null
	@cmake --build --preset arm64 -j $(JOBS)
	@cd $(ARM64_BUILD) && QT_QPA_PLATFORM=offscreen ctest -j $(JOBS) --output-on-failure --timeout 300

# The arm64 .deb, $(ARM64_BUILD)/tqxfft_<version>_arm64.deb, from the same
# build folder as its tests (after make test-arm64 nothing is compiled again):
# only what it installs is built, and its dependencies are found by
# dpkg-shlibdeps among the arm64 libraries.
package-arm64:
	@scripts/bootstrap arm64
	@cmake --preset arm64 >/dev/null
	@cmake --build --preset arm64 --target tqxfft_package_contents -j $(JOBS)
	@cd $(ARM64_BUILD) && cpack -G DEB

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

# The benchmarks that run on Windows, from an optimised cross build, under
# Wine: acquisition cycles, frames, the tick, tqxfft.exe's size and start-up.
WINDOWS_BENCH_BUILD ?= build/windows-release
bench-windows:
	@scripts/bootstrap windows
	@cmake -S . -B $(WINDOWS_BENCH_BUILD) --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WINDOWS_BENCH_BUILD) --target windows_benchmarks -j $(JOBS)
	@scripts/run-benchmarks-windows $(WINDOWS_BENCH_BUILD)

# The benchmarks that say something under emulation, cross-built for arm64 and
# run under qemu-user: the spectrum (with its instructions counted by the
# emulator, the one figure that holds for a board too), the acquisition
# cycle, frames, the tick and start-up. Times are the emulator's, not a
# board's.
ARM64_BENCH_BUILD ?= build/arm64-bench
bench-arm64:
	@scripts/bootstrap arm64
	@cmake -S . -B $(ARM64_BENCH_BUILD) --toolchain cmake/aarch64-linux-gnu.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(ARM64_BENCH_BUILD) --target arm64_benchmarks -j $(JOBS)
	@scripts/run-benchmarks $(ARM64_BENCH_BUILD)

# The monitor on the simulated module under a random programme, checked at the
# end: SOAK_SECONDS (default 600) long; `make soak PRESET=asan` under the
# sanitizers.
soak: build
	@tests/soak/run-soak $(BUILD)

# The .deb, from an optimised build of only what it installs (no tests):
# build/package/tqxfft_<version>_<arch>.deb.
PACKAGE_BUILD := build/package
package: bootstrap
	@command -v dpkg-shlibdeps >/dev/null || { echo "package: dpkg-shlibdeps is missing (Debian package dpkg-dev)" >&2; exit 1; }
	@cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
	@cmake --build $(PACKAGE_BUILD) --target tqxfft_package_contents -j $(JOBS)
	@cd $(PACKAGE_BUILD) && cpack -G DEB

# The Windows installer, from an optimised cross build of only what it
# installs: build/windows-package/tqxfft-<version>-setup.exe. The build runs a
# Windows program (the icon file's writer), in the build's own Wine prefix.
WINDOWS_PACKAGE_BUILD := build/windows-package
package-windows:
	@scripts/bootstrap windows
	@cmake --no-warn-unused-cli -S . -B $(WINDOWS_PACKAGE_BUILD) --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@scripts/wine-env $(WINDOWS_PACKAGE_BUILD) cmake --build $(WINDOWS_PACKAGE_BUILD) --target windows_installer -j $(JOBS)

# The user's guide's pictures, rendered offscreen from the real windows on the
# simulated module into docs/images/ (commit them with the change that moved
# the windows).
screenshots: configure
	@cmake --build --preset $(PRESET) --target screenshots -j $(JOBS)

# The guide's picture of the native window, from the Windows cross build under
# Wine: docs/images/main-window-windows.png.
screenshots-windows:
	@scripts/bootstrap windows
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows --target screenshots -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS (default 180), one after the other, with
# libFuzzer, AddressSanitizer and UBSan; prints executions and findings.
fuzz: bootstrap
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@scripts/run-fuzzers build/fuzz

clean:
	rm -rf build
