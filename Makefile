# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
SAMPLE ?= data/welcome.txt
# Extra cache settings for a first configure, e.g. CMAKE_ARGS=-DSKIMMET_BENCH=ON.
CMAKE_ARGS ?=

.PHONY: all bootstrap configure build test run sanitize bench install deb clean

all: build

bootstrap:
	@scripts/bootstrap

$(BUILD)/CMakeCache.txt: | bootstrap
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

configure: bootstrap $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	$(BUILD)/src/skimmet $(SAMPLE)

# The whole suite, GUI included, under AddressSanitizer and UndefinedBehaviorSanitizer.
# Leaks that belong to Qt's and fontconfig's process-lifetime caches are listed, with
# the reason for each, in scripts/lsan.supp.
SANITIZE_ENV = QT_QPA_PLATFORM=offscreen \
	ASAN_OPTIONS=detect_leaks=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

sanitize: bootstrap
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DSKIMMET_CORE_ONLY=OFF \
		-DSKIMMET_SANITIZE=ON -DSKIMMET_BENCH=OFF $(CMAKE_ARGS)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && $(SANITIZE_ENV) ctest --output-on-failure -j $(JOBS)

# Builds the benchmarks optimised and runs each one briefly: a smoke run, not a
# measurement (run them by hand for figures, see each file's header).
bench: bootstrap
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DSKIMMET_BUILD_TESTS=OFF \
		-DSKIMMET_BENCH=ON $(CMAKE_ARGS)
	cmake --build build-bench -j $(JOBS) --target engine_bench view_timing pane_cancel documents_open documents_html \
		start_time reading_log_bench
	build-bench/bench/engine/engine_bench --benchmark_min_time=0.05
	QT_QPA_PLATFORM=offscreen build-bench/bench/view/view_timing --units 100 --idle 1
	QT_QPA_PLATFORM=offscreen build-bench/bench/view/view_timing --units 50 --idle 1 --status-pane both
	QT_QPA_PLATFORM=offscreen build-bench/bench/view/pane_cancel --moves 20 --text-mb 10
	build-bench/bench/documents/documents_open --runs 1
	QT_QPA_PLATFORM=offscreen build-bench/bench/log/reading_log_bench --benchmark_min_time=0.05
	build-bench/bench/documents/documents_html --paragraphs 200000

# The Debian package, built from a copy of the tree into build-deb/ and checked there.
deb: bootstrap
	scripts/build-deb build-deb
	scripts/check-deb build-deb

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX),)

clean:
	rm -rf $(BUILD) build-asan build-bench build-deb
