# Entry points for people and CI. Everything is configured on first use.
JOBS ?= 2
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all build demo test test-asan test-tsan fuzz-smoke bench install clean

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

# Installs what is missing, builds, and checks the example thesis, with the
# keyword scan for wrongly written words ("FilterCheck") switched on in a
# copy of the data folder.
demo:
	scripts/install-deps.sh
	$(MAKE) build
	rm -rf $(BUILD)/demo && mkdir -p $(BUILD)/demo
	cp -r $(BUILD)/Data $(BUILD)/demo/Data
	sed -i 's/"FilterCheck": *"off"/"FilterCheck": "on"/' $(BUILD)/demo/Data/RUX-Configure.json
	cp $(BUILD)/examples/thesis.docx $(BUILD)/demo/thesis.docx
	$(BUILD)/veskar check $(BUILD)/demo/thesis.docx --data $(BUILD)/demo

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# AddressSanitizer and UndefinedBehaviorSanitizer over the whole suite.
test-asan:
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVESKAR_SANITIZE=address
	cmake --build build-asan -j$(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j$(JOBS)

# ThreadSanitizer over the suites that run work on several threads.
test-tsan:
	cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DVESKAR_SANITIZE=thread
	cmake --build build-tsan -j$(JOBS)
	cd build-tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j$(JOBS) -L concurrency

# Each libFuzzer target for a short fixed time (FUZZ_SECONDS each).
fuzz-smoke:
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DVESKAR_FUZZ=ON -DVESKAR_TESTS=OFF
	cmake --build build-fuzz -j$(JOBS)
	scripts/fuzz-smoke.sh build-fuzz/fuzz $${FUZZ_SECONDS:-15}

bench:
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVESKAR_BENCH=ON -DVESKAR_TESTS=OFF
	cmake --build build-bench -j$(JOBS)

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX),)

clean:
	rm -rf build build-asan build-tsan build-fuzz build-bench
