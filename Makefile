# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DORVO_WERROR=ON
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build sanitized run test test-size bench screenshots install uninstall clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)/bin

# The unit and in-process tests run a second time from a build made with
# AddressSanitizer and UndefinedBehaviorSanitizer.
SANITIZED ?= $(BUILD)-sanitized

sanitized: deps
	@cmake -S . -B $(SANITIZED) -DCMAKE_BUILD_TYPE=Debug -DORVO_SANITIZE=address,undefined >/dev/null
	@cmake --build $(SANITIZED) -j $(JOBS)

test: build sanitized
	@bash scripts/run-tests.sh $(BUILD) $(SANITIZED)

test-size:
	@bash scripts/test-size.sh

bench: build
	@bash bench/run-all.sh $(BUILD)

screenshots: build
	@bash scripts/screenshots.sh $(BUILD)/bin docs/screenshots

clean:
	rm -rf $(BUILD)

PREFIX ?= $(HOME)/.local

install: build
	@bash scripts/install.sh $(BUILD)/bin $(PREFIX)

uninstall:
	@bash scripts/uninstall.sh $(PREFIX)
