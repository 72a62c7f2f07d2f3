# The two commands of the README: `make run` and `make test`.
# Both install missing Debian packages first, then configure and build what
# they need: `make run` the device's programs only, `make test` the test
# programs too; `make build` (and `make bench`) everything.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?=
ifdef CI
CMAKE_FLAGS += -DHB_WERROR=ON
endif

# The libraries under test are instrumented too, so that the fuzzer sees
# their coverage and the sanitizers check them; see fuzz/README.md.
FUZZ_FLAGS ?= -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize=function -fno-omit-frame-pointer

.PHONY: all deps configure build run test test-asan memcheck bench fuzz format format-check clean

all: build

deps:
	@bash scripts/deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target device_programs
	@$(BUILD)/bin/hbsim demo --out demo

# A skipped test says why in ctest's log only; the browser test's reason is
# shown here, so that a run without Chromium says so plainly.
test: configure
	@cmake --build $(BUILD) -j $(JOBS) --target test_programs
	@cd $(BUILD) && status=0; ctest --output-on-failure -j $(JOBS) || status=$$?; \
	  grep -h "browser test skipped" Testing/Temporary/LastTest.log 2>/dev/null || true; exit $$status

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DHB_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target test_programs
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# One hbsim demo under valgrind's memcheck, every app process it starts
# included: no error and no memory definitely lost, past the suppressed losses
# of libraries outside the project (tests/valgrind.supp). Logs in
# $(BUILD)/memcheck/, one a process.
memcheck: configure
	@cmake --build $(BUILD) -j $(JOBS) --target device_programs
	@rm -rf $(BUILD)/memcheck && mkdir -p $(BUILD)/memcheck
	@valgrind --trace-children=yes --leak-check=full --show-leak-kinds=definite \
	  --errors-for-leak-kinds=definite --error-exitcode=99 --suppressions=$(CURDIR)/tests/valgrind.supp \
	  --log-file=$(BUILD)/memcheck/memcheck.%p.log \
	  $(BUILD)/bin/hbsim demo --out $(BUILD)/memcheck/demo >/dev/null
	@grep -h "ERROR SUMMARY" $(BUILD)/memcheck/memcheck.*.log | sort | uniq -c

bench: build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; $$b; done

fuzz: deps
	@cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHB_FUZZ=ON -DHB_BENCH=OFF \
	  "-DCMAKE_C_FLAGS=$(FUZZ_FLAGS)" "-DCMAKE_CXX_FLAGS=$(FUZZ_FLAGS)" \
	  -DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=address,undefined \
	  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined >/dev/null
	@cmake --build build-fuzz --target fuzz_all -j $(JOBS)

# The house style is .clang-format; `make format` applies it, CI checks it.
SOURCES = $(shell git ls-files '*.cpp' '*.h')
format:
	@clang-format -i $(SOURCES)

format-check: deps
	@clang-format --dry-run -Werror $(SOURCES)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz
