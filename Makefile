# The two entry points of the README. Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: run test build deps bench fuzz sanitize format clean

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/Tolvane4

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOLVANE_BENCH=ON
	cmake --build $(BUILD)-bench -j $(JOBS)
	for b in $(BUILD)-bench/bench/bench_*; do $$b; done

# Each fuzz harness runs FUZZ_SECONDS from a seed corpus the programs' own
# writers made; needs clang (libFuzzer), else it is skipped. Not part of `test`.
FUZZ_SECONDS ?= 30
FUZZ_HARNESSES = year_file withholding_file settings_file tax_tables health_rates \
	postal_codes employee_template event_log restore_journal year_end_load year_end_tax \
	period_selection carry_over report_readers restore_folder
fuzz:
	@if ! command -v clang++ >/dev/null 2>&1; then \
		echo "clang++ not installed: fuzzing skipped"; exit 0; fi; \
	set -e; \
	CC=clang CXX=clang++ cmake -S . -B $(BUILD)-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DTOLVANE_FUZZ=ON >/dev/null; \
	cmake --build $(BUILD)-fuzz -j $(JOBS) --target fuzz_all; \
	rm -rf $(BUILD)-fuzz/seeds; \
	$(BUILD)-fuzz/tests/fuzz/make_fuzz_seeds $(BUILD)-fuzz/seeds; \
	mkdir -p $(BUILD)-fuzz/logs; failed=0; \
	for h in $(FUZZ_HARNESSES); do \
		mkdir -p $(BUILD)-fuzz/corpus/$$h; \
		if $(BUILD)-fuzz/tests/fuzz/fuzz_$$h -max_total_time=$(FUZZ_SECONDS) \
			-rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix=$(BUILD)-fuzz/logs/$$h- \
			$(BUILD)-fuzz/corpus/$$h $(BUILD)-fuzz/seeds/$$h >$(BUILD)-fuzz/logs/$$h.log 2>&1; \
		then echo "$$h: $$(grep -h number_of_executed_units $(BUILD)-fuzz/logs/$$h.log)"; \
		else echo "$$h: FOUND A FAULT, see $(BUILD)-fuzz/logs/$$h.log"; failed=1; fi; \
	done; exit $$failed

# The whole test suite built and run under the address and undefined-behaviour
# sanitizers, in a build folder of its own; any finding fails its test. Not part
# of `test`.
SANITIZE_FLAGS = -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer
sanitize: deps
	cmake -S . -B $(BUILD)-sanitize -G Ninja -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_SHARED_LINKER_FLAGS="$(SANITIZE_FLAGS)"
	cmake --build $(BUILD)-sanitize -j $(JOBS)
	cd $(BUILD)-sanitize && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(BUILD)-fuzz $(BUILD)-sanitize
