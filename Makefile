# Set-up, build and test in one place. Every target installs what is missing first.
SHELL := /bin/bash

PACKAGES := cmake g++ make ninja-build qt6-base-dev libgl-dev libglx-dev libjpeg62-turbo-dev \
            libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth poppler-utils \
            fonts-dejavu-core fonts-liberation2 qt6-translations-l10n \
            dpkg-dev fakeroot file lintian desktop-file-utils appstream clang-format \
            libgdal-dev gdal-bin
FUZZ_PACKAGES := clang libclang-rt-14-dev
# Qt, GDAL, PROJ and SQLite for Windows are built from Debian's sources (perl, xz; tcl generates
# SQLite's single file; proj-data brings PROJ's database); nsis makes the setup program; the
# tests run wine on an X screen with openbox, drive it with xdotool and look with ImageMagick.
WINDOWS_PACKAGES := g++-mingw-w64-x86-64-posix wine64 libgtest-dev nsis perl xz-utils python3 \
                    openbox xdotool imagemagick tcl dpkg-dev proj-data locales

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
WIN_BUILD  ?= build-windows
JOBS       ?= $(shell nproc)
SUDO       := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build run package test test-package test-asan windows-deps windows-toolchain windows test-windows bench fuzz format format-check screenshots clean

all: build

# Installs only the packages that are not there yet (waits for another package manager).
define install_missing
	@tools/install_packages.sh $(1)
endef

deps:
	$(call install_missing,$(PACKAGES))

$(BUILD)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	@tools/phase.sh "Linux: Build" cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/brisolt ]; then $(BUILD)/brisolt; else $(BUILD)/brisolt-cli --help; fi

# The key and the CLI once more under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRISOLT_SANITIZE=ON -DBRISOLT_GUI=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# The Debian package (CPack): $(BUILD)/brisolt_2.02_<arch>.deb.
package: build
	cmake --build $(BUILD) --target package

# Unpacks the package and checks it: the unpacked CLI against the build's, the desktop entry,
# the AppStream file, lintian.
test-package: package
	packaging/check_package.sh $(BUILD)

test: build format-check
	@tools/phase.sh "Linux: Tests" bash -c \
	  'cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)'
	@tools/phase.sh "Linux: Paket" $(MAKE) --no-print-directory test-package
	@tools/phase.sh "Linux: ASan" $(MAKE) --no-print-directory test-asan

windows-deps:
	$(call install_missing,$(WINDOWS_PACKAGES))

# Qt with libjpeg, and GDAL with PROJ and SQLite, built for Windows from Debian's sources once
# per machine into ~/.cache/brisolt (BRISOLT_CACHE); later runs take them from there at once.
windows-toolchain: deps windows-deps
	@tools/phase.sh "Windows: Qt (Cache)" cmake/build_qt_windows.sh
	@tools/phase.sh "Windows: GDAL (Cache)" cmake/build_gdal_windows.sh

# The program, brisolt-cli.exe and every test for Windows, cross-compiled with MinGW-w64 against
# the toolchain above, and the setup program $(WIN_BUILD)/Brisolt-2.02-win64-setup.exe.
windows: windows-toolchain
	@qt=$$(cmake/build_qt_windows.sh) && gdal=$$(cmake/build_gdal_windows.sh) && \
	cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
	  -DCMAKE_TOOLCHAIN_FILE="$$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
	  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$(CURDIR)/cmake/mingw-w64-x86_64.cmake" \
	  -DGDAL_DIR="$$gdal/lib/cmake/gdal"
	@tools/phase.sh "Windows: Build" cmake --build $(WIN_BUILD) -j $(JOBS)
	@tools/phase.sh "Windows: Setup-Programm" cmake --build $(WIN_BUILD) --target setup

# Runs the Windows tests, the screenshots and the setup program under wine and compares
# brisolt-cli.exe with the Linux build.
test-windows: windows build
	@tools/phase.sh "Windows: Tests" tools/test_windows.sh $(WIN_BUILD) $(BUILD)

bench: build
	$(BUILD)/bench/brisolt_bench
	$(BUILD)/bench/report_bench
	bench/startup.sh $(BUILD)

# Runs the loader fuzzer for 60 seconds (clang's libFuzzer).
fuzz: deps
	$(call install_missing,$(FUZZ_PACKAGES))
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DBRISOLT_FUZZ=ON -DBRISOLT_GUI=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_load_calculation
	mkdir -p $(FUZZ_BUILD)/corpus
	cp -n tests/data/*.txt $(FUZZ_BUILD)/corpus/ 2>/dev/null || true
	$(FUZZ_BUILD)/fuzz_load_calculation -max_total_time=60 -max_len=200000 $(FUZZ_BUILD)/corpus

# Every window and help page as a PNG in $(BUILD)/screenshots, drawn on a real X server.
screenshots: build
	xvfb-run -a -s "-screen 0 1920x1080x24" $(BUILD)/tools/screenshots $(BUILD)/screenshots

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# The code stays in the layout of .clang-format.
format-check: deps
	clang-format --dry-run -Werror $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WIN_BUILD)
