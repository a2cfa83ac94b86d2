# The two commands a newcomer needs: `make run` and `make test`.
# Both install what the machine is missing first (Debian packages via apt).

RELEASE_DIR := build/release
TEST_DIR    := build/test
JOBS        ?= $(shell nproc)

.PHONY: run test build test-build bench deps clean fuzz install uninstall

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIRVO_TESTS=OFF >/dev/null
	@cmake --build $(RELEASE_DIR) -j $(JOBS)

run: build
	@scripts/run-program $(RELEASE_DIR)

test-build: deps
	@cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIRVO_SANITIZE=ON -DMIRVO_BENCH=OFF \
	       -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" >/dev/null
	@cmake --build $(TEST_DIR) -j $(JOBS)

test: test-build
	@cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 600

bench: build
	@scripts/run-benchmarks $(RELEASE_DIR)

clean:
	rm -rf build

# Runs each fuzzing target (skin loaders, movie player) for a bounded time
# (FUZZ_SECONDS, default 60), each run within FUZZ_RSS_MB of memory.
fuzz: deps
	@scripts/fuzz

# Installs the Release program for the current user, no root needed: the
# program with its data under ~/.local/share/mirvodict, the command
# ~/.local/bin/mirvodict, a menu entry and the icon. PREFIX=<dir> installs
# under <dir> instead. Uninstalling keeps the word database unless PURGE=1.
install: build
	@PREFIX="$(PREFIX)" scripts/install-program install $(RELEASE_DIR)

uninstall:
	@PREFIX="$(PREFIX)" PURGE="$(PURGE)" scripts/install-program uninstall
