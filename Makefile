# KORVEX52 top-level commands. 'make demo' and 'make test' are the two a new
# user needs; both install missing Debian packages first.
SHELL := /bin/bash
.DEFAULT_GOAL := demo

DEB_PACKAGES := cmake ninja-build g++ make procps util-linux clang libclang-rt-14-dev \
  libgtest-dev libgmock-dev libbenchmark-dev libstb-dev \
  g++-mingw-w64-x86-64-posix wine wine64 xvfb \
  libx11-dev libxext-dev libxtst-dev libxres-dev x11-utils \
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation \
  ardour

WINE := tools/wine-env.sh
HOST := tools/korvex-host
DLL := build/win64/korvex52.dll
SO := build/native/korvex52.so

.PHONY: deps deps-assets native native-asan win64 test test-native test-asan test-win64 demo bench bench-peers assets golden-update fuzz clean

deps:
	@tools/install-deps.sh $(DEB_PACKAGES)

# Node.js fetches the two open-licensed web fonts from the npm registry. Some
# machines bring a Node.js that already contains npm; Debian's npm would clash.
deps-assets:
	@command -v node >/dev/null || tools/install-deps.sh nodejs
	@command -v npm >/dev/null || tools/install-deps.sh npm

# The web fonts as the lock file pins them, fetched again only when it
# changes. The suite's regeneration check reads them, so both test builds
# need them.
ASSET_FONTS := tools/assets/node_modules/.package-lock.json
$(ASSET_FONTS): tools/assets/package.json tools/assets/package-lock.json | deps-assets
	npm ci --prefix tools/assets --no-audit --no-fund
	@touch $@

build/native/build.ninja:
	cmake --preset native >/dev/null
build/native-asan/build.ninja:
	cmake --preset native-asan >/dev/null
build/win64/build.ninja:
	cmake --preset win64 >/dev/null
build/bench/build.ninja:
	cmake --preset bench >/dev/null

native: build/native/build.ninja
	cmake --build --preset native
native-asan: build/native-asan/build.ninja
	cmake --build --preset native-asan
win64: build/win64/build.ninja
	cmake --build --preset win64

# The native editor's tests open X11 windows on the private Xvfb display,
# which they start on demand; it goes when they are done.
test-native: native $(ASSET_FONTS)
	ctest --preset native; status=$$?; $(WINE) stop; exit $$status
test-asan: native-asan $(ASSET_FONTS)
	ctest --preset native-asan
# Real windows under Xvfb share two cores with the build: when the only
# failures are tests that hold the display lock (whose timer ticks may have
# been starved), those get one more run before they count as failed. Any
# other failure stands at once.
# render_matches_native compares the DLL's sound with the native build's.
WIN64_FAILED := build/win64/Testing/Temporary/LastTestsFailed.log
test-win64: win64 native
	$(WINE) start
	@rm -f $(WIN64_FAILED); status=0; ctest --preset win64 || status=$$?; \
	if [ $$status -ne 0 ] && [ -s $(WIN64_FAILED) ]; then \
	  display=$$(cmake -DBUILD_DIR=build/win64 -P tests/display_lock_tests.cmake); \
	  others=$$(cut -d: -f2- $(WIN64_FAILED) | grep -vxF -e "$$display"); \
	  if [ -z "$$others" ]; then \
	    echo "A second try for the tests on the display:"; \
	    ctest --preset win64 --rerun-failed && status=0; \
	  fi; \
	fi; \
	$(WINE) stop; exit $$status

# The C and C++ sources the formatter owns: every tracked one but the glyph
# tables that tools/assets generates into resources/.
FORMAT_FILES = $(shell git ls-files '*.c' '*.cc' '*.cpp' '*.h' '*.hpp' '*.inc' ':!:resources/')
CLANG_FORMAT := clang-format-14

# The formatter and the static checker that `make test` runs first.
CHECK_PACKAGES := clang-format-14 clang-tidy-14

.PHONY: format format-check tidy deps-checks
deps-checks:
	@tools/install-deps.sh $(CHECK_PACKAGES)
format: deps-checks
	@$(CLANG_FORMAT) -i $(FORMAT_FILES)
format-check: deps-checks
	@$(CLANG_FORMAT) --dry-run -Werror $(FORMAT_FILES) && echo "format: $(words $(FORMAT_FILES)) files as .clang-format lays them out"
tidy: deps-checks build/native/build.ninja build/win64/build.ninja
	tools/tidy.sh build/native
	tools/tidy.sh build/win64

test: deps
	$(MAKE) --no-print-directory format-check tidy test-native test-asan test-win64

demo: deps
	$(MAKE) --no-print-directory win64
	$(MAKE) --no-print-directory build/native/build.ninja
	cmake --build --preset native --target korvex52 korvex-host png_check
	@mkdir -p build/demo
	$(WINE) start
	@status=0; \
	$(HOST) info $(DLL) || status=$$?; \
	tools/demo-renders.sh $(HOST) $(DLL) build/demo || status=$$?; \
	tools/demo-linux.sh $(WINE) build/native build/demo || status=$$?; \
	$(WINE) stop; \
	echo; echo "The plug-ins (SHA-256; every clean build gives the same bytes):"; \
	sha256sum $(DLL) $(SO) | sed 's/^/  /'; \
	exit $$status

bench: deps build/bench/build.ninja
	cmake --build --preset bench
	@for b in build/bench/bench-*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] && [ "$$b" != build/bench/bench-peers ] || continue; \
	  "$$b" || exit 1; \
	done

# Debian's reverbs of the same class, timed side by side with ours: LADSPA
# zita-reverb (rev-plugins) and freeverb3 (cmt), LV2 plate (swh-lv2) and
# Dragonfly Plate, and sox; our in-process host needs lilv and ladspa.h.
PEER_PACKAGES := rev-plugins cmt swh-lv2 dragonfly-reverb-lv2 sox liblilv-dev lv2-dev ladspa-sdk pkg-config

bench-peers: deps
	@tools/install-deps.sh $(PEER_PACKAGES)
	cmake --preset bench >/dev/null
	cmake --build --preset bench --target bench-peers
	build/bench/bench-peers --work build/bench

assets: deps $(ASSET_FONTS) build/native/build.ninja
	cmake --build --preset native --target korvex-assets
	build/native/korvex-assets --out resources

# Rewrites the reviewed golden images (tests/golden/images) from today's
# renders. Look at every changed picture before committing it.
golden-update: native
	KORVEX_GOLDEN_UPDATE=1 ctest --preset native -L golden
	@git status --short tests/golden/images

# Deeper fuzzing than the suite's short runs: each fuzzer for FUZZ_SECONDS
# (default ten minutes each) on a corpus under build/fuzz that grows from
# run to run, seeded from tests/fuzz/corpus. Reports the runs made and any
# finding, which is kept beside its corpus for replaying. Not part of 'make test'.
FUZZ_SECONDS ?= 600
FUZZERS := chunk dispatcher presetfile

fuzz: deps build/native/build.ninja
	cmake --build --preset native --target korvex-fuzz-build
	@status=0; for name in $(FUZZERS); do \
	  echo "fuzz-$$name, $(FUZZ_SECONDS) s:"; \
	  dict=tests/fuzz/$$name.dict; [ -f $$dict ] || dict=; \
	  tests/fuzz/run_fuzzer.sh build/native/fuzz/fuzz-$$name $(FUZZ_SECONDS) \
	    tests/fuzz/corpus/$$name build/fuzz/$$name $$dict || status=1; \
	done; exit $$status

clean:
	-$(WINE) stop
	rm -rf build
