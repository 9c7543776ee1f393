# Top-level targets; the README names them.
HOST_BUILD := build/host
WIN_BUILD := build/windows
TESTSEG := tools/testseg/testseg
JOBS := $(shell nproc)

.PHONY: all bootstrap build host windows test bench demo screenshots dist clean

all: build

bootstrap:
	tools/bootstrap.sh

host: bootstrap
	cmake -S . -B $(HOST_BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(HOST_BUILD) -j $(JOBS)

windows: bootstrap
	cmake -S . -B $(WIN_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WIN_BUILD) -j $(JOBS)

build: host windows

test: build
	tools/run-tests.sh

bench: build
	$(HOST_BUILD)/bin/reader_bench --benchmark_min_time=1
	$(TESTSEG) -- tools/testseg/wine-run $(WIN_BUILD)/bin/burst_bench.exe $(BURSTS)
	$(TESTSEG) -- tools/testseg/wine-run $(WIN_BUILD)/bin/rows_bench.exe $(ROWS)
	$(TESTSEG) -- tools/testseg/wine-run $(WIN_BUILD)/bin/flood_bench.exe $(FLOOD_RATE)
	$(TESTSEG) -- tools/testseg/wine-run $(WIN_BUILD)/bin/apply_bench.exe
	$(TESTSEG) -- tools/testseg/wine-run $(WIN_BUILD)/bin/assign_bench.exe
	$(TESTSEG) -- tools/testseg/wine-run $(WIN_BUILD)/bin/live_bench.exe cpu $(LIVE_SECONDS)
	$(TESTSEG) -- tools/testseg/wine-run $(WIN_BUILD)/bin/live_bench.exe soak $(SOAK_SECONDS)

demo: build
	tools/demo.sh

# Screenshots of the program with its frame, for review: build/review/*.png.
screenshots: build
	$(TESTSEG) --modules 3 -- tools/review_screenshots.sh

# The package for Windows users: build/dist/KelvaraLanwise-<version>-win64.zip.
dist: windows
	tools/make_dist.sh

clean:
	rm -rf build
