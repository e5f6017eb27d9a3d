# Koravel: the two entry points. Both install what is missing, configure and build first.
BUILD_DIR ?= build
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: run test deps configure build bench

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

# The benchmark on the large generated database, on SQLite and on a throwaway PostgreSQL server.
bench: build
	./scripts/pg-test-start.sh $(BUILD_DIR)/pgbench
	KORAVEL_PG_ENV_FILE=$(CURDIR)/$(BUILD_DIR)/pgbench/env $(BUILD_DIR)/bench/koravel_bench --size large; \
		status=$$?; ./scripts/pg-test-stop.sh $(BUILD_DIR)/pgbench; exit $$status
