BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: setup configure build run test test-sanitize bench bench-export bench-odbc install package clean

setup:
	bash scripts/setup.sh

configure: setup
	cmake -S . -B $(BUILD) -G Ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Opens the main window on the bundled sample folder.
run: build
	$(BUILD)/src/app/quorlin samples

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300

# Every test program under the address and undefined-behaviour sanitizers. Qt keeps its
# caches until the process ends, so leaks are only looked for in the core and command line.
SANITIZE_BUILD ?= build-sanitize
CORE_TESTS = platform_tests text_tests schema_tests export_tests extras_tests cli_tests odbc_tests \
             odbc_driver_tests
test-sanitize: setup
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DQUORLIN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(SANITIZE_BUILD) -j $(JOBS) --target $(CORE_TESTS) app_tests quorlin-cli
	set -e; for t in $(CORE_TESTS); do $(SANITIZE_BUILD)/tests/$$t --gtest_brief=1; done
	ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen $(SANITIZE_BUILD)/tests/app_tests --gtest_brief=1

bench: build
	$(BUILD)/bench/quorlin_bench

# Exports a generated 2-million-record CSV to every text format and runs Miller beside them.
bench-export: build
	$(BUILD)/bench/quorlin_export_bench

# pyodbc reading a 200 MB CSV through the text driver and the same rows through SQLite's driver.
bench-odbc: build
	cmake --build $(BUILD) --target odbc_fetch_bench

# Installs the programs, the driver, the help pages, the samples, the manual pages and the
# desktop files under PREFIX and registers the driver there with unixODBC.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package quorlin_<version>_<arch>.deb in this folder, built in a tree of its own for
# /usr with Debian's hardening flags; install it with `apt install ./quorlin_*.deb`.
PACKAGE_BUILD ?= build-package
PACKAGE_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
package:
	bash scripts/setup.sh --build-deps
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
	  -DQUORLIN_BUILD_TESTS=OFF -DQUORLIN_BUILD_BENCHMARKS=OFF \
	  -DCMAKE_CXX_FLAGS="$$($(PACKAGE_FLAGS) CPPFLAGS) $$($(PACKAGE_FLAGS) CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(PACKAGE_FLAGS) LDFLAGS)" \
	  -DCMAKE_SHARED_LINKER_FLAGS="$$($(PACKAGE_FLAGS) LDFLAGS)"
	cmake --build $(PACKAGE_BUILD) -j $(JOBS) --target quorlin quorlin-cli quorlin-odbc-text quorlin_sqlite packaging_files
	rm -f $(PACKAGE_BUILD)/quorlin_*.deb
	cd $(PACKAGE_BUILD) && cpack -G DEB
	cp $(PACKAGE_BUILD)/quorlin_*.deb .

clean:
	rm -rf $(BUILD)
