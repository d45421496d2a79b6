BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: setup configure build run test bench clean

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

bench: build
	$(BUILD)/bench/quorlin_bench

clean:
	rm -rf $(BUILD)
