# Koravel: the two entry points. Both install what is missing, configure and build first.
BUILD_DIR ?= build
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: run test test-asan deps configure build bench

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) --parallel

run: build
	$(BUILD_DIR)/src/app/Koravel

test: build
	mkdir -p $(BUILD_DIR)/xdg-runtime && chmod 700 $(BUILD_DIR)/xdg-runtime
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 \
		XDG_RUNTIME_DIR=$(CURDIR)/$(BUILD_DIR)/xdg-runtime \
		ctest --output-on-failure --parallel 2

# The same suite built with AddressSanitizer and UndefinedBehaviorSanitizer: any report, leaks
# included, fails its test. What system libraries keep by design is in tests/lsan.supp.
SANITIZE_ENV = ASAN_OPTIONS=halt_on_error=1:print_stacktrace=1:detect_leaks=1:abort_on_error=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

test-asan: deps
	cmake --preset asan
	ASAN_OPTIONS=detect_leaks=0 cmake --build build-asan --parallel
	mkdir -p build-asan/xdg-runtime && chmod 700 build-asan/xdg-runtime
	cd build-asan && QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 \
		XDG_RUNTIME_DIR=$(CURDIR)/build-asan/xdg-runtime $(SANITIZE_ENV) \
		ctest --output-on-failure --parallel 2

# The benchmark on the large generated database, on SQLite and on a throwaway PostgreSQL server.
bench: build
	./scripts/pg-test-start.sh $(BUILD_DIR)/pgbench
	KORAVEL_PG_ENV_FILE=$(CURDIR)/$(BUILD_DIR)/pgbench/env $(BUILD_DIR)/bench/koravel_bench --size large; \
		status=$$?; ./scripts/pg-test-stop.sh $(BUILD_DIR)/pgbench; exit $$status
