# Front door. `make run` shows the auto-attendant at work; `make test` builds both
# presets and runs every test. Both first install whatever Debian packages are missing.
.PHONY: all bootstrap build build-linux build-windows test test-linux test-windows run call clean

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

test: build
	ctest --preset linux
	ctest --preset windows
	./tools/fuzz.sh test

# `make fuzz`: the fuzz targets (clang, sanitizers) in build/fuzz, about 30 s each, then
# their committed seeds and regression inputs replayed (tools/fuzz.sh).
.PHONY: fuzz
fuzz: bootstrap
	./tools/fuzz.sh test

run: build
	./tools/demo.sh

clean:
	rm -rf build
