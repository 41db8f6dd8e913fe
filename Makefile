# The one entry point for building and checking Kelvo. `make test` is what CI runs.
JOBS ?= $(shell nproc)
TEST_DIR := build/test
RUN_DIR := build/run
CLANG_DIR := build/clang
BENCH_DIR := build/release
TSAN_DIR := build/tsan
# The suites whose code runs on several threads: the runtime, the log file and the
# Accessibility event stream, and the simulated desktop with its stand-ins and its server.
TSAN_SUITES := BaseTests KelvoAXTests PlatformTests SimulatorTests
# Each suite runs this many times over, so that a thread outliving its test meets the next.
TSAN_REPEAT ?= 20
FUZZ_DIR := build/fuzz
FUZZ_SECONDS ?= 120

.PHONY: test demo programs readme pictures pictures-update deps configure build bench tsan fuzz format check-format clang-build \
	clean

# The suites under the sanitizers, then what else must keep building: the formatting of every
# tracked source, and the tree without its suites with clang.
test: deps
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVO_SANITIZE=ON
	cmake --build $(TEST_DIR) -j $(JOBS)
	ctest --test-dir $(TEST_DIR) --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory check-format clang-build

check-format: deps
	git ls-files -- '*.h' '*.cpp' | xargs -r clang-format --dry-run -Werror

# Build only: the programs, tools, benchmarks and fuzz targets (as corpus replays) with clang, the
# suites turned off. The suites already built under gcc above; a second compiler on the rest
# catches what one of them lets pass, and clang alone checks that state a lock guards is touched
# only with that lock held (-Wthread-safety). Nothing here runs, so it is not optimised, and it
# compiles the sources of a target together (a unity build), a third of the time: a name private
# to one source must not be defined privately in another of its target.
clang-build: deps
	cmake -S . -B $(CLANG_DIR) -G Ninja -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_COMPILER=clang++ \
		-DKELVO_FUZZ=OFF -DKELVO_TESTS=OFF -DCMAKE_UNITY_BUILD=ON
	cmake --build $(CLANG_DIR) -j $(JOBS)

# Kelvo on a simulated desktop with three applications, driven by its own shortcuts; one line
# per step, a picture per step in build/demo/.
demo: programs
	scripts/demo.sh $(RUN_DIR) build/demo

# The four programs alone, optimised, in a tree of their own without sanitizers (build/run/bin).
programs: deps
	@scripts/build-programs.sh $(RUN_DIR) $(JOBS)

# Writes the configuration reference that kelvo-reference prints from the code into the README.
readme: programs
	cmake --build $(RUN_DIR) -j $(JOBS) --target kelvo-reference
	Tests/Readme/reference.sh write README.md $(RUN_DIR)/Tools/kelvo-reference/kelvo-reference

# The pictures of the drawing layer (every symbol, text at the system's sizes, an animated
# layer's frames, the status item in several states and its menu, every command glyph, the drawn
# mark and the banner blocks, the panels, the launcher, the settings window on every tab and the
# guide's pages) in build/pictures/, for people to look at. They share the test build.
PICTURES_DIR ?= build/pictures
pictures: deps
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVO_SANITIZE=ON
	cmake --build $(TEST_DIR) -j $(JOBS) --target kelvo-pictures
	$(TEST_DIR)/Tools/kelvo-pictures/kelvo-pictures $(PICTURES_DIR)

# The same pictures written over the reviewed copies that the picture suite holds them to, for a
# change meant to alter what a person sees; look at each changed one before committing it.
pictures-update:
	rm -f Tests/Tools/kelvo-pictures/Pictures/*.png
	@$(MAKE) --no-print-directory pictures PICTURES_DIR=Tests/Tools/kelvo-pictures/Pictures

deps:
	@scripts/install-deps.sh

bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVO_SANITIZE=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS)
	@for b in $(BENCH_DIR)/bench/*_bench; do echo "== $$b"; $$b; done

# ThreadSanitizer build of the threaded suites; not part of `make test`.
tsan: deps
	cmake -S . -B $(TSAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVO_TSAN=ON -DKELVO_BENCH=OFF
	cmake --build $(TSAN_DIR) -j $(JOBS) --target $(TSAN_SUITES)
	@for s in $(TSAN_SUITES); do echo "== $$s"; TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" $(TSAN_DIR)/Tests/$$s --gtest_repeat=$(TSAN_REPEAT) --gtest_brief=1 || exit 1; done

# Builds the fuzz targets with clang and runs each for FUZZ_SECONDS; new inputs go into
# build/fuzz/corpus, faults into build/fuzz/artifacts.
fuzz: deps
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DKELVO_FUZZ=ON -DKELVO_TESTS=OFF -DKELVO_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	@for f in $(FUZZ_DIR)/fuzz/*_fuzz; do \
		name=$$(basename $$f _fuzz); \
		mkdir -p $(FUZZ_DIR)/corpus/$$name $(FUZZ_DIR)/artifacts; \
		echo "== $$f"; \
		dict=""; if [ -f fuzz/$$name.dict ]; then dict="-dict=fuzz/$$name.dict"; fi; \
		$$f -max_total_time=$(FUZZ_SECONDS) -timeout=10 $$dict \
			-artifact_prefix=$(FUZZ_DIR)/artifacts/ \
			$(FUZZ_DIR)/corpus/$$name fuzz/corpus/$$name || exit 1; \
	done

format:
	@git ls-files -co --exclude-standard -- '*.h' '*.cpp' | xargs -r clang-format -i

clean:
	rm -rf build
