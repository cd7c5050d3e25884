# SPDX-License-Identifier: Apache-2.0
# Front door: every target installs what it needs (Debian 12), configures and builds.
#   make          build build/kelvane-config and build/kelvane-sim
#   make test     build and run every test (inside a private network)
#   make demo     the tool with three virtual modules, inside a private network
#   make run      the tool on the real LAN, for real modules
#   make screenshot   render the window under Xvfb to docs/ (Chinese, and English)
#   make asan     the suite but the end-to-end tests under AddressSanitizer and UBSan
#   make fuzz     fuzz the receive path and profile files, FUZZ_SECONDS in all (default 60)
#   make bench    build the benchmarks in Release and print their table (inside a private network)
#   make package  a clean Release build without tests, packed into build-package/*.deb
#
# Warnings are errors when WERROR=ON, by default only in CI (CI=true), so a
# newer compiler with new warnings does not stop a user's build.

SHELL := /bin/bash
BUILD := build
NET := scripts/private-net

.PHONY: all setup configure test demo run screenshot asan fuzz bench package clean

FUZZ_SECONDS ?= 60
BENCH_BUILD ?= build-bench
PACKAGE_BUILD := build-package
WERROR ?= $(if $(filter true,$(CI)),ON,OFF)

all: configure
	cmake --build --preset default

setup:
	@scripts/setup-debian

configure: setup
	@grep -qs '^KELVANE_WERROR:BOOL=$(WERROR)$$' $(BUILD)/CMakeCache.txt || cmake --preset default -DKELVANE_WERROR=$(WERROR)

test: all
	$(NET) ctest --preset default

demo: all
	$(NET) scripts/demo

run: all
	$(BUILD)/kelvane-config

screenshot: all
	$(NET) scripts/screenshot docs/screenshot-start.png
	$(NET) scripts/screenshot docs/screenshot-scan.png --scan
	$(NET) scripts/screenshot docs/screenshot-en.png --scan --lang en

asan: setup
	@test -f build-asan/CMakeCache.txt || cmake --preset asan
	cmake --build --preset asan
	$(NET) ctest --preset asan -LE e2e

fuzz:
	@scripts/setup-debian --with-clang
	@test -f build-fuzz/CMakeCache.txt || cmake --preset fuzz
	cmake --build --preset fuzz
	mkdir -p build-fuzz/corpus build-fuzz/profile-corpus
	cd build-fuzz && ./fuzz_receive -max_total_time=$$(( ($(FUZZ_SECONDS) + 1) / 2 )) -rss_limit_mb=4096 -artifact_prefix=./ corpus ../fuzz/corpus
	cd build-fuzz && ./fuzz_profile -max_total_time=$$(( ($(FUZZ_SECONDS) + 1) / 2 )) -rss_limit_mb=4096 -max_len=8192 \
		-dict=../fuzz/profile.dict -artifact_prefix=./profile- profile-corpus ../fuzz/profile-corpus

bench: setup
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DKELVANE_BENCH=ON
	cmake --build $(BENCH_BUILD) --target benchmarks -j$$(nproc)
	$(NET) bench/run $(BENCH_BUILD)

# Built with the flags Debian builds its own packages with, all hardening on.
package:
	@scripts/setup-debian --with-packaging
	@test -f $(PACKAGE_BUILD)/CMakeCache.txt || { \
	    export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	    CXXFLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	    LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" cmake --preset package; }
	cmake --build --preset package
	cd $(PACKAGE_BUILD) && cpack

clean:
	rm -rf $(BUILD) build-asan build-fuzz build-bench $(PACKAGE_BUILD)
