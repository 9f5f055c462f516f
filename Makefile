# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
SAMPLE ?= data/welcome.txt

.PHONY: all bootstrap configure build test run sanitize install clean

all: build

bootstrap:
	@scripts/bootstrap

$(BUILD)/CMakeCache.txt: | bootstrap
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: bootstrap $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	$(BUILD)/src/skimmet $(SAMPLE)

# Core library and its tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: bootstrap
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DSKIMMET_CORE_ONLY=ON -DSKIMMET_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX),)

clean:
	rm -rf $(BUILD) build-asan
