# Entry points for people and CI. Everything is configured on first use.
JOBS ?= 2
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all build demo demo-standards test test-asan test-tsan fuzz-build fuzz-smoke fuzz-long bench install \
  package check-package clean

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

# Installs what is missing, builds, and checks the example thesis, with the
# keyword scan for wrongly written words ("FilterCheck") and the spelling
# check ("SpellCheck", answered in process by the "local" engine) switched
# on in a copy of the data folder.
demo:
	scripts/install-deps.sh
	$(MAKE) build
	rm -rf $(BUILD)/demo && mkdir -p $(BUILD)/demo
	cp -r $(BUILD)/Data $(BUILD)/demo/Data
	sed -i 's/"FilterCheck": *"off"/"FilterCheck": "on"/; s/"SpellCheck": *"off"/"SpellCheck": "on"/' \
	  $(BUILD)/demo/Data/RUX-Configure.json
	cp $(BUILD)/examples/thesis.docx $(BUILD)/demo/thesis.docx
	$(BUILD)/veskar check $(BUILD)/demo/thesis.docx --type 7 --data $(BUILD)/demo

# Starts the search service on a free loopback port over the build's
# standards catalogue and checks the example safety report's cited
# standards against it (a withdrawn standard, an old edition's number, a
# wrong date, a wrong clause value), then stops the service.
demo-standards:
	scripts/install-deps.sh
	$(MAKE) build
	scripts/demo-standards.sh $(BUILD)

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
	cmake --build build-tsan -j$(JOBS) --target veskar_concurrency_tests
	cd build-tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j$(JOBS) -L concurrency

# libFuzzer targets with AddressSanitizer and UndefinedBehaviorSanitizer,
# built at -O1 (with assertions) as libFuzzer recommends, the standard
# library left untraced (fuzz/coverage-ignore.txt): either one alone more than
# doubles the rate of the targets that build dictionaries.
FUZZ_BUILD ?= build-fuzz
fuzz-build:
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DVESKAR_FUZZ=ON -DVESKAR_TESTS=OFF \
	  "-DCMAKE_C_FLAGS_DEBUG=-g -O1" "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1" \
	  "-DCMAKE_CXX_FLAGS=-fsanitize-coverage-ignorelist=$(CURDIR)/fuzz/coverage-ignore.txt"
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target veskar_fuzz

# Each target briefly from its seeds (CI; FUZZ_SECONDS each, default 10).
fuzz-smoke: fuzz-build
	scripts/fuzz-smoke.sh $(FUZZ_BUILD)/fuzz $${FUZZ_SECONDS:-10}

# Each target for FUZZ_SECONDS (default 600), keeping what it finds in
# $(FUZZ_BUILD)/corpus for the next run and crashes in its crashes folder.
fuzz-long: fuzz-build
	scripts/fuzz-run.sh $(FUZZ_BUILD)/fuzz $${FUZZ_SECONDS:-600} $(FUZZ_BUILD)/corpus

bench:
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVESKAR_BENCH=ON -DVESKAR_TESTS=OFF
	cmake --build build-bench -j$(JOBS)

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX),)

# A Debian package of the library, tool, header, veskar.pc and data folder
# (installed under /usr) in $(BUILD)/package; check-package unpacks it into a
# scratch root and checks a document with it.
package: build
	cd $(BUILD) && cpack -G DEB

check-package: package
	scripts/check-package.sh $(BUILD) $$(ls -t $(BUILD)/package/veskar_*.deb | head -1)

clean:
	rm -rf build build-asan build-tsan build-fuzz build-bench
