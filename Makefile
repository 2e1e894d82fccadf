# Two commands set up a fresh Debian 12 machine:
#   make run    installs what is missing, builds, starts Corvane
#   make test   installs what is missing, builds, runs every test
BUILD   ?= build
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release

.PHONY: all deps configure build test test-sanitize run run-tallis bench fuzz po install uninstall deb clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The tests and the benchmarks are built when GoogleTest and Google Benchmark are found; these
# two targets switch them on explicitly.
test: CMAKE_FLAGS += -DCORVANE_TESTS=ON
test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize/).
test-sanitize: deps
	@scripts/test-sanitize build-sanitize

run: build
	@scripts/run-corvane $(BUILD)

# Tallis, the tape file checker's window.
run-tallis: build
	@$(BUILD)/tallis

bench: CMAKE_FLAGS += -DCORVANE_BENCH=ON
bench: build
	@scripts/run-benchmarks $(BUILD)

# Builds the fuzz targets with clang in build-fuzz/ and runs each for FUZZ_SECONDS seconds.
FUZZ_SECONDS ?= 60
fuzz: deps
	@FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) scripts/run-fuzz

# The marked texts into locale/*.pot and the German catalogs (gettext tools).
po:
	@scripts/update-po

# Installs the programs, catalogs, icons, desktop entries and man pages; PREFIX= to change.
PREFIX ?= $(HOME)/.local
install: build
	@cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package build/corvane_VERSION_ARCH.deb, made from the programs of the build
# (then: sudo apt install ./build/corvane_*.deb).
deb: build
	@scripts/make-deb $(BUILD)

# Removes exactly what the last install put into PREFIX.
uninstall:
	@scripts/uninstall "$(PREFIX)"

clean:
	rm -rf $(BUILD)
