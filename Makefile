# make test   installs what is missing, builds both targets and the host build, runs every test
# make demo   installs what is missing, builds, starts the program under Wine with sample media
# make screenshots  makes the README's pictures anew (docs/)
# make bench  builds both targets and prints the benchmarks' ratios
# make fuzz   runs the stand-in's reply fuzz test (x86_64) and the wire library's fuzz test (host
#             build, under the address checker) on a million cases each
# make format applies the tree's one style (.clang-format) to every source
# make install  builds tarnix-link without the checkers and installs it in $(PREFIX)/bin
#             (DESTDIR honoured) with the right to bind port 990
# make dist   builds the packages into dist/: the Windows installer and portable zip, and
#             the Debian packages of the program and of tarnix-link
SHELL  := /bin/bash
ARCHES := i686 x86_64
BUILD  := build
JOBS   := $(shell nproc)

SOURCES = $(shell git ls-files '*.cpp' '*.h')

.PHONY: all bootstrap build test bench fuzz demo demo-build screenshots clean format format-check layers-check install link-build dist $(ARCHES:%=configure-%)

all: build

bootstrap:
	@tools/bootstrap test

# The Windows targets' end-to-end test reaches the emulator through the host
# build's tarnix-link, so the host build comes first and the targets are
# told where its program is; the Debian package's test in the x86_64 build
# also packs the i686 build's programs, built before it. A build folder
# configured before these variables existed is told on its next build.
LINK_PROGRAM = $(abspath $(BUILD))/host/platform/link/tarnix-link
WINDOWS_BUILD_SETTINGS = -DTARNIX_LINK_PROGRAM=$(LINK_PROGRAM) -DTARNIX_I686_BUILD=$(abspath $(BUILD))/i686

$(BUILD)/%/CMakeCache.txt: | bootstrap
	cmake -S . -B $(BUILD)/$* -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-$*.cmake -DCMAKE_BUILD_TYPE=Release \
	    $(WINDOWS_BUILD_SETTINGS)

# The host build: only what stands apart from Windows, with the host
# compiler and the address and undefined-behaviour checkers.
$(BUILD)/host/CMakeCache.txt: | bootstrap
	cmake -S . -B $(BUILD)/host -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: bootstrap $(ARCHES:%=$(BUILD)/%/CMakeCache.txt) $(BUILD)/host/CMakeCache.txt
	@cmake --build $(BUILD)/host -j $(JOBS)
	@for a in $(ARCHES); do \
	    { grep -q '^TARNIX_LINK_PROGRAM:' $(BUILD)/$$a/CMakeCache.txt && grep -q '^TARNIX_I686_BUILD:' $(BUILD)/$$a/CMakeCache.txt; } \
	        || cmake $(BUILD)/$$a $(WINDOWS_BUILD_SETTINGS) >/dev/null || exit 1; \
	    cmake --build $(BUILD)/$$a -j $(JOBS) || exit 1; \
	done

format: bootstrap
	@clang-format -i $(SOURCES)

# Fails, naming the files, when a source is not in the tree's style.
format-check: bootstrap
	@clang-format --dry-run -Werror $(SOURCES)

# Fails, naming the file, when an include runs from a lower folder to a
# higher one (tools/check-layers holds the layers).
layers-check:
	@tools/check-layers

test: format-check layers-check build
	@rc=0; for a in $(ARCHES); do \
	    echo "== tests: $$a"; \
	    ctest --test-dir $(BUILD)/$$a --output-on-failure -j $(JOBS) -LE bench || rc=1; \
	done; \
	echo "== tests: host"; \
	ctest --test-dir $(BUILD)/host --output-on-failure -j $(JOBS) || rc=1; \
	exit $$rc

# The program under Wine with sample content, a USB stick and a handheld:
# the launcher runs the x86_64 build.
demo: demo-build
	@tools/demo

# The README's pictures of both language sets, made anew under docs/.
screenshots: demo-build
	@tools/make-screenshots

demo-build:
	@tools/bootstrap demo
	@$(MAKE) --no-print-directory $(BUILD)/x86_64/CMakeCache.txt
	@cmake --build $(BUILD)/x86_64 -j $(JOBS)

# Fails when a benchmark misses its target (its program exits non-zero).
# The benchmarks measure tarnix-link as it is installed: the build of
# `make install`, without the checkers.
bench: build link-build
	@set -o pipefail; rc=0; for a in $(ARCHES); do \
	    echo "== benchmarks: $$a"; \
	    cmake $(BUILD)/$$a -DTARNIX_BENCH_LINK_PROGRAM=$(abspath $(LINK_BUILD))/platform/link/tarnix-link >/dev/null \
	        && cmake --build $(BUILD)/$$a -j $(JOBS) || exit 1; \
	    ctest --test-dir $(BUILD)/$$a -L bench -V -j 1 2>&1 | grep -v '^[0-9]*: Test command' || rc=1; \
	done; exit $$rc

# The stand-in's reply decoders, and the wire library's decoders and
# control machines, each against a million random and mutated inputs
# (make test runs the same programs on 20,000).
fuzz: bootstrap $(BUILD)/x86_64/CMakeCache.txt $(BUILD)/host/CMakeCache.txt
	@cmake --build $(BUILD)/x86_64 -j $(JOBS)
	@cmake --build $(BUILD)/host -j $(JOBS)
	@set -o pipefail; TARNIX_FUZZ_CASES=1000000 ctest --test-dir $(BUILD)/x86_64 -V -R '^rapi_reply_fuzz_test' 2>&1 \
	    | grep -v '^[0-9]*: Test command'
	@set -o pipefail; TARNIX_FUZZ_CASES=1000000 ctest --test-dir $(BUILD)/host -V -R '^handheldwire_fuzz_test' 2>&1 \
	    | grep -v '^[0-9]*: Test command'

# tarnix-link alone, in a build of its own: optimised, without the checkers
# and the tests. As root on the machine itself, the packages it needs are
# installed first; a staged install (DESTDIR, as packaging and the tests do
# it) installs no packages.
PREFIX     ?= /usr/local
LINK_BUILD ?= $(BUILD)/link
install:
	@[ -n "$(DESTDIR)" ] || [ "$$(id -u)" -ne 0 ] || tools/bootstrap install
	@$(MAKE) --no-print-directory link-build
	@tools/install-link $(LINK_BUILD)/platform/link/tarnix-link "$(DESTDIR)$(PREFIX)/bin"

# It holds the right to bind a privileged port and reads the network: it
# is built with Debian's hardening flags where dpkg-buildflags is there.
HARDENING = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
link-build:
	@[ -f $(LINK_BUILD)/CMakeCache.txt ] || \
	    cmake -S . -B $(LINK_BUILD) -DCMAKE_BUILD_TYPE=Release -DTARNIX_CHECKERS=OFF -DBUILD_TESTING=OFF \
	        -DCMAKE_CXX_FLAGS="$$($(HARDENING) CPPFLAGS 2>/dev/null) $$($(HARDENING) CXXFLAGS 2>/dev/null)" \
	        -DCMAKE_EXE_LINKER_FLAGS="$$($(HARDENING) LDFLAGS 2>/dev/null)"
	@cmake --build $(LINK_BUILD) -j $(JOBS) --target tarnix-link

# The packages, from the programs alone (no tests are built): the Windows
# ones carry the i686 build, the Debian ones both builds (Wine runs the one
# it can) and tarnix-link as make install builds it. The version is the
# one of the project (CMakeLists.txt). Prints each package's size.
DIST ?= dist
PACKAGED_TARGETS = tarnix rapi rapiemu tarnix-drives
dist: bootstrap $(ARCHES:%=$(BUILD)/%/CMakeCache.txt)
	@$(MAKE) --no-print-directory link-build
	@for a in $(ARCHES); do cmake --build $(BUILD)/$$a -j $(JOBS) --target $(PACKAGED_TARGETS) || exit 1; done
	@version=$$(cat $(BUILD)/i686/VERSION) && rm -rf $(DIST) && mkdir -p $(DIST) \
	    && packaging/windows/make-packages "$$version" $(BUILD)/i686 $(DIST) \
	    && packaging/debian/make-packages "$$version" $(BUILD)/i686 $(BUILD)/x86_64 \
	           $(LINK_BUILD)/platform/link/tarnix-link $(DIST)
	@for f in $(DIST)/*; do printf '%-40s %6d KiB\n' "$$f" $$(( ($$(stat -c %s "$$f") + 1023) / 1024 )); done

clean:
	@for a in $(ARCHES); do [ -d $(BUILD)/$$a ] && tools/wine-prefix cleanup $(BUILD)/$$a || true; done
	rm -rf $(BUILD) $(DIST)
