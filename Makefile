# The two commands of the README. Both install what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: run test build deps sanitize fuzz format format-check startup-benchmark grade-benchmark e2e screenshots package package-check benchmark clean windows windows-test windows-check

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja: CMakeLists.txt
	cmake -S . -B $(BUILD_DIR) -G Ninja

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@scripts/run-orven $(BUILD_DIR)/orven

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The C++ sources git tracks, formatted with the repository's .clang-format.
FORMAT_FILES = git ls-files -z '*.cpp' '*.h'
format:
	$(FORMAT_FILES) | xargs -0 clang-format -i
format-check:
	@$(FORMAT_FILES) | xargs -0 clang-format --dry-run --Werror

# The tests that need no real display, built with AddressSanitizer and UBSan
# in build-asan/. The leaks of the system's D-Bus library are suppressed
# (tests/lsan.supp); anything else fails the run.
SANITIZE_DIR ?= build-asan
sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DORVEN_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS) -L offscreen

# The readers of outside files under clang's libFuzzer with AddressSanitizer
# and UBSan, in build-fuzz/: each harness for FUZZ_SECONDS, from its corpus
# (fuzz/corpus/NAME/); what it finds is kept in build-fuzz/, and a crash's
# input in build-fuzz/crashes/ (add it to the corpus once mended).
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 600
fuzz:
	@scripts/install-deps --fuzz
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DORVEN_FUZZ=ON \
	    -DBUILD_TESTING=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target orven_fuzzers
	sh fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# Pictures of every screen, taken offscreen, into docs/screenshots/.
SHOTS_DIR ?= docs/screenshots
screenshots: build
	cmake --build $(BUILD_DIR) --target orven_screenshots
	rm -f $(SHOTS_DIR)/*.png
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/orven_screenshots $(SHOTS_DIR)

# Only the runs of the real program under a virtual display (also part of test).
e2e: build
	cd $(BUILD_DIR) && ctest --output-on-failure -R '^(real_session|program_end)$$'

# The Debian package build/orven_<version>_<arch>.deb, and its check (also part
# of test): lintian, unpacked and started.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# The teacher's key against bare calculations (Google Benchmark).
benchmark: build
	cmake --build $(BUILD_DIR) --target orven_key_benchmark
	$(BUILD_DIR)/orven_key_benchmark

# orven-key grade over classes of 30 and 300 reports (BASELINE=path/to/orven-key
# measures another build beside it).
grade-benchmark: build
	cmake --build $(BUILD_DIR) --target orven_class_reports orven-key orven-key-pdf
	sh bench/grade.sh $(BUILD_DIR) $(BASELINE)

# The start to the main menu's first paint against a bare Qt window.
startup-benchmark: build
	cmake --build $(BUILD_DIR) --target orven_first_paint bare_first_paint
	sh bench/startup.sh $(BUILD_DIR)

package-check: build
	cd $(BUILD_DIR) && ctest --output-on-failure -R '^(installed_tree|package_check)$$'

# The student program for Windows (build-windows/: a zip and an installer),
# cross-compiled with MinGW-w64 against a Qt built once from Debian's source
# (cached in ~/.cache/orven). Not part of test.
windows:
	@scripts/build-windows

# The in-process tests cross-built for Windows and run under Wine (no display).
windows-test:
	@scripts/windows-test

# The Windows build under Wine on a virtual display: the check to run after
# changes to the platform layer.
windows-check: windows build
	cmake --build $(BUILD_DIR) --target orven_session_plan orven_teacher_plan orven-key orven-key-pdf
	@sh tests/windows/windows_check.sh build-windows $(BUILD_DIR)/tests/orven_session_plan \
	    $(BUILD_DIR)/orven-key $(BUILD_DIR)/tests/orven_teacher_plan

clean:
	rm -rf $(BUILD_DIR)
