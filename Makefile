# Front door. `make run` shows the auto-attendant at work; `make test` builds both
# presets and runs every test. Both first install whatever Debian packages are missing.
.PHONY: all bootstrap build build-linux build-windows test test-linux test-windows check run call clean bench

all: build

bootstrap:
	@./tools/bootstrap.sh

build/linux/CMakeCache.txt:
	cmake --preset linux >/dev/null

build/windows/CMakeCache.txt:
	cmake --preset windows >/dev/null

build-linux: bootstrap build/linux/CMakeCache.txt
	cmake --build --preset linux

build-windows: bootstrap build/windows/CMakeCache.txt
	cmake --build --preset windows

build: build-linux build-windows

test-linux: build-linux
	ctest --preset linux

test-windows: build-windows
	ctest --preset windows

# Every test: native, then under Wine, then the fuzz targets' committed seeds and
# regression inputs replayed under the sanitizers (fuzzing itself is `make fuzz`).
test: build
	ctest --preset linux
	ctest --preset windows
	./tools/fuzz.sh replay

# `make check`: the inner loop, native build and native tests only (well under a minute
# once built). `ctest --preset windows -L unit|gui|calls` runs one part of the rest.
check: build-linux
	ctest --preset linux -LE sip

# `make fuzz`: the fuzz targets (clang, sanitizers) in build/fuzz, about 30 s each, then
# their committed seeds and regression inputs replayed (tools/fuzz.sh).
.PHONY: fuzz
fuzz: bootstrap
	./tools/fuzz.sh test

# `make run` builds only what the demo needs (tools/demo.sh does that), not every test.
run: bootstrap
	./tools/demo.sh

# `make sip`: the same office, its four callers baresip softphones calling over SIP through
# zelgate; transcript and recordings in build/sip-demo/.
.PHONY: sip
sip: bootstrap
	./tools/demo.sh sip

# `make call`: the same office, and one of its lines for you to call from the keyboard.
call: bootstrap
	./tools/demo.sh call

# `make bench`: the benchmarks, built in folders of their own, run side by side and
# printed as one table (tools/bench.sh; docs/performance.md says what each figure means).
build/bench-linux/CMakeCache.txt:
	cmake --preset linux -B build/bench-linux >/dev/null

build/bench-windows/CMakeCache.txt:
	cmake --preset windows -B build/bench-windows >/dev/null

bench: bootstrap build/bench-linux/CMakeCache.txt build/bench-windows/CMakeCache.txt
	cmake --build build/bench-linux --target benchmarks zelgate -j2
	cmake --build build/bench-windows --target benchmarks -j2
	./tools/bench.sh build/bench-linux build/bench-windows

clean:
	rm -rf build
