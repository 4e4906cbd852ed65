# make run   - install what is missing, build, start the modeller
# make test  - install what is missing, build, run every test
# make bench - benchmarks in a Release build
# make sanitize - the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer
# make fuzz - the libFuzzer targets for FUZZ_SECONDS (60) each, built with clang
# make package - a Debian package; make install - into CMAKE_INSTALL_PREFIX (/usr/local)
# make about-picture - render the About box's picture and logo again with POV-Ray
# make fresh-check - the README's test command on a new minimal Debian 12 (debootstrap, root)
# Without make yet, ./bootstrap run and ./bootstrap test install it first.

BUILD    ?= build
JOBS     ?= $(shell nproc)
CMAKE    := cmake -G Ninja -Wno-dev
# CI=true (.ci/run sets it) turns every compiler warning into an error, also in a build
# folder that was configured before without it.
WERROR   := $(if $(filter true,$(CI)),ON,OFF)

.PHONY: all deps build run test bench sanitize package install clean about-picture fresh-check

all: build

deps:
	@./scripts/install-deps

$(BUILD)/build.ninja:
	$(CMAKE) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPOLYDROM_WERROR=$(WERROR)

build: deps $(BUILD)/build.ninja
	$(if $(filter ON,$(WERROR)),cmake -S . -B $(BUILD) -DPOLYDROM_WERROR=ON > /dev/null)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	  ./$(BUILD)/src/app/polydrom $(ARGS); \
	else \
	  echo "No display: starting the modeller on a virtual X server (xvfb-run)."; \
	  xvfb-run -a -s "-screen 0 1920x1080x24" ./$(BUILD)/src/app/polydrom $(ARGS); \
	fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

build-release/build.ninja:
	$(CMAKE) -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DPOLYDROM_BENCH=ON -DBUILD_TESTING=OFF

bench: deps build-release/build.ninja
	cmake --build build-release -j $(JOBS)
	@# The 3-D view's benchmarks draw with OpenGL, which needs an X display: a virtual one if none.
	$(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1280x1024x24") ./build-release/bench/polydrom_bench \
	  --benchmark_counters_tabular=true

# The sanitizer and fuzz builds keep line tables only (-g1): their reports name file and
# line all the same, and they build a fifth faster.
build-asan/build.ninja:
	$(CMAKE) -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DPOLYDROM_SANITIZE=ON \
	  -DPOLYDROM_WERROR=$(WERROR)

sanitize: deps build-asan/build.ninja
	$(if $(filter ON,$(WERROR)),cmake -S . -B build-asan -DPOLYDROM_WERROR=ON > /dev/null)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# make fuzz - each libFuzzer target of fuzz/ for FUZZ_SECONDS (60) in build-fuzz, built
# with clang under AddressSanitizer and UndefinedBehaviorSanitizer, its assertions on.
# The checked-in seeds start the corpus; what it grows stays in build-fuzz/corpus, and
# an input that fails is written to build-fuzz/findings and fails the target. Inputs go
# up to 4 KiB, room for a model and a long program after it. An input still running after
# a minute is a hang and fails at once (libFuzzer's own limit is twenty minutes).
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := model_file session import
.PHONY: fuzz
build-fuzz/build.ninja:
	CC=clang CXX=clang++ $(CMAKE) -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DPOLYDROM_FUZZ=ON -DPOLYDROM_GUI=OFF -DBUILD_TESTING=OFF

fuzz: deps build-fuzz/build.ninja
	cmake --build build-fuzz -j $(JOBS)
	@for t in $(FUZZ_TARGETS); do \
	  seeds=fuzz/corpus; [ -d fuzz/corpus/$$t ] && seeds=fuzz/corpus/$$t; \
	  mkdir -p build-fuzz/corpus/$$t build-fuzz/findings/$$t && \
	  echo "fuzz_$$t: $(FUZZ_SECONDS) s" && \
	  ./build-fuzz/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=60 -max_len=4096 -print_final_stats=1 \
	    -artifact_prefix=build-fuzz/findings/$$t/ build-fuzz/corpus/$$t $$seeds || exit 1; \
	done

# A Debian package of the Release build: build-release/polydrom_*.deb
package: deps build-release/build.ninja
	cmake --build build-release -j $(JOBS)
	cd build-release && cpack

install: build
	cmake --install $(BUILD)

# POV-Ray writes only into the folder it runs in, so it renders from there.
ABOUT_DIR := src/app/shell/resources
about-picture: deps
	cd $(ABOUT_DIR) && povray -D +W320 +H240 +A0.3 +R3 about.pov +Oabout.png
	cd $(ABOUT_DIR) && povray -D +W147 +H57 +A0.1 +R3 logo.pov +Ologo.png

# Not part of .ci/run: it downloads a whole system and takes half an hour or more.
fresh-check:
	./scripts/fresh-check $(MIRROR)

clean:
	rm -rf $(BUILD) build-release build-asan build-fuzz
