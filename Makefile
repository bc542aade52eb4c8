# The commands README.md promises. Each one installs what it needs first.
BUILD      ?= build
BUILD_ASAN ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja
# WERROR=ON turns every compiler warning into an error (CI builds that way);
# WERROR=OFF turns it off again. Unset, the build folder keeps its setting.
WERROR     ?=
BENCH_SMOKE ?= 0
# The suite expects a desktop that has chosen no language; the tests of other
# languages set theirs themselves. A developer's own locale must not leak in.
TEST_ENV   := env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=C.UTF-8

.PHONY: deps build run test test-package test-asan lint bench fuzz install uninstall package clean

deps:
	tools/install-deps

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(if $(WERROR),-DORVANO_WERROR=$(WERROR))
	cmake --build $(BUILD) -j $(JOBS)

run: build
	tools/run-main $(BUILD)

# The package round trip installs into the system, so it is a target of its own.
test: build
	cd $(BUILD) && $(TEST_ENV) ctest --output-on-failure -j $(JOBS) -LE package

test-package: package
	cd $(BUILD) && $(TEST_ENV) ORVANO_TEST_PACKAGE=1 ctest --output-on-failure -L package

test-asan: deps
	cmake -S . -B $(BUILD_ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DORVANO_SANITIZE=ON
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && $(TEST_ENV) ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS) -LE package
	@if [ -x tools/fuzz ]; then tools/fuzz 30; fi

# LINT_LAYERS="astro config" limits clang-tidy to those folders.
lint: build
	JOBS=$(JOBS) tools/lint $(BUILD) $(LINT_LAYERS)

# BENCH_SMOKE=1: every benchmark once, briefly (what CI runs).
bench: build
	BENCH_SMOKE=$(BENCH_SMOKE) tools/run-bench $(BUILD)

fuzz: deps
	tools/fuzz $${FUZZ_SECONDS:-120}

# Stripped; each prefix keeps its own record of what was installed there.
install: build
	tools/install-prefix install $(BUILD) $${PREFIX:-$$HOME/.local}

# Removes what this build installed in PREFIX, and the folders it made there.
uninstall:
	tools/install-prefix uninstall $(BUILD) $${PREFIX:-$$HOME/.local}

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) build-fuzz
