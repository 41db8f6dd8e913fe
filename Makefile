# The one entry point for building and checking Kelvo. `make test` is what CI runs.
JOBS ?= $(shell nproc)
TEST_DIR := build/test
BENCH_DIR := build/release

.PHONY: test deps configure build bench format clean

test: deps
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVO_SANITIZE=ON
	cmake --build $(TEST_DIR) -j $(JOBS)
	ctest --test-dir $(TEST_DIR) --output-on-failure -j $(JOBS)

deps:
	@scripts/install-deps.sh

bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVO_SANITIZE=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS)
	@for b in $(BENCH_DIR)/bench/*_bench; do echo "== $$b"; $$b; done

format:
	@git ls-files -co --exclude-standard -- '*.h' '*.cpp' | xargs -r clang-format -i

clean:
	rm -rf build
