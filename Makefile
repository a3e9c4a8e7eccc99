# Two entry points: `make run` and `make test`. Everything else is a helper.
# ccache is used when installed (CMakeLists.txt sets the compiler launcher).
JOBS      ?= $(shell nproc)
BUILD     ?= build
ASAN      ?= build-asan
STRESS    ?= build-gcstress
FUZZ      ?= build-fuzz
SOAK      ?= build-soak
GENERATOR := -G Ninja
DEMO      ?= $(CURDIR)/demo

.PHONY: all deps build play asan stress fuzz test test-plain test-asan test-stress test-fuzz soak run demo-data clean

all: build

deps:
	@./scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# What `make run` needs and nothing more: the program, the sound server and
# the demo-data tool (cmake target `play`), in the same folder as `build`.
play: deps $(BUILD)/build.ninja
	@echo "building BrambleGame, SoundPump and make-demo-data in $(BUILD)/ ($(JOBS) jobs)"
	cmake --build $(BUILD) -j $(JOBS) --target play

$(ASAN)/build.ninja:
	cmake -S . -B $(ASAN) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DBRAMBLE_SANITIZE=ON -DBRAMBLE_BENCH=OFF

asan: deps $(ASAN)/build.ninja
	cmake --build $(ASAN) -j $(JOBS)

$(STRESS)/build.ninja:
	cmake -S . -B $(STRESS) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRAMBLE_GC_STRESS=ON -DBRAMBLE_BENCH=OFF -DBRAMBLE_ONLY="platform;runtime;javalib"

# The stress stage builds and runs the runtime's tests only.
stress: deps $(STRESS)/build.ninja
	cmake --build $(STRESS) -j $(JOBS) --target tests-runtime

$(FUZZ)/build.ninja:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRAMBLE_FUZZ=ON -DBRAMBLE_BENCH=OFF

FUZZ_SECONDS ?= 10
FUZZ_ONLY    ?= .

fuzz: deps $(FUZZ)/build.ninja
	cmake -S . -B $(FUZZ) -DBRAMBLE_FUZZ_SECONDS=$(FUZZ_SECONDS) >/dev/null
	cmake --build $(FUZZ) -j $(JOBS) --target fuzzers

test-plain: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: asan
	ctest --test-dir $(ASAN) --output-on-failure -j $(JOBS)

test-stress: stress
	ctest --test-dir $(STRESS) --output-on-failure -j $(JOBS) -L runtime

# Each libFuzzer target runs for FUZZ_SECONDS; FUZZ_ONLY picks targets by
# name (make test-fuzz FUZZ_ONLY=sprite FUZZ_SECONDS=600).
test-fuzz: fuzz
	ctest --test-dir $(FUZZ) --output-on-failure -j $(JOBS) -L fuzz -R '$(FUZZ_ONLY)' 

# Long seeded random runs of every demo level and the whole program, with
# AddressSanitizer and a collection at every allocation over the whole tree
# (not narrowed like the stress stage). Not part of `make test`.
$(SOAK)/build.ninja:
	cmake -S . -B $(SOAK) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRAMBLE_GC_STRESS=ON -DBRAMBLE_SANITIZE=ON -DBRAMBLE_SOAK=ON -DBRAMBLE_BENCH=OFF -DBRAMBLE_ONLY=""

soak: deps $(SOAK)/build.ninja
	cmake --build $(SOAK) -j $(JOBS) --target game_soak_test
	ctest --test-dir $(SOAK) --output-on-failure -j $(JOBS) -L soak

# Runs the stages in order (build included in each stage's time), stops at
# the first that fails, and prints every finished stage's time at the end.
STAGES := plain asan stress fuzz

test:
	@times=""; status=0; \
	for s in $(STAGES); do \
	  start=$$(date +%s); \
	  $(MAKE) --no-print-directory test-$$s || status=$$?; \
	  times="$$times$$s $$(( $$(date +%s) - start ))\n"; \
	  [ $$status -eq 0 ] || break; \
	done; \
	printf "\nmake test stage times (JOBS=$(JOBS)):\n"; \
	printf "$$times" | awk '{ printf "  %-7s %3d min %02d s\n", $$1, $$2 / 60, $$2 % 60; t += $$2 } \
	  END { printf "  %-7s %3d min %02d s\n", "total", t / 60, t % 60 }'; \
	exit $$status

demo-data: play
	$(BUILD)/tools/make-demo-data $(DEMO)

# The game on the demo data. A BRAMBLE_DEVICE_ROOT set in the shell is set
# aside (it seldom holds the game's data); `make run DEVICE_ROOT=DIR` picks
# another device root on purpose.
DEVICE_ROOT ?= $(DEMO)/device

run: play demo-data
	@if [ -n "$$BRAMBLE_DEVICE_ROOT" ] && [ "$$BRAMBLE_DEVICE_ROOT" != "$(DEVICE_ROOT)" ]; then \
	  echo "make run: BRAMBLE_DEVICE_ROOT=$$BRAMBLE_DEVICE_ROOT from the shell is set aside; the device root is $(DEVICE_ROOT) (make run DEVICE_ROOT=DIR picks another)"; \
	fi
	BRAMBLE_DEVICE_ROOT=$(DEVICE_ROOT) $(BUILD)/shell/BrambleGame

clean:
	rm -rf $(BUILD) $(ASAN) $(STRESS) $(FUZZ) $(SOAK)
