# Developer loop. `make run` and `make test` install what is missing, configure and build.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: run test build deb deps-run deps-test deps-package configure clean format

run: deps-run build
	$(BUILD)/app/QuavScheduler

test: deps-test build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The Debian package quavscheduler_<version>_<arch>.deb, in $(BUILD)/.
deb: deps-package build
	cd $(BUILD) && cpack -G DEB
	@ls $(BUILD)/quavscheduler_*.deb

build: configure
	cmake --build $(BUILD) -j$(JOBS)

configure:
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

deps-run:
	scripts/install-deps.sh run

deps-test:
	scripts/install-deps.sh test

deps-package:
	scripts/install-deps.sh package

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
