# The two commands of this repository: `make demo` and `make test`.
# Both install what is missing on a Debian machine, then build.

PACKAGES := cmake ninja-build g++ clang libgtest-dev libgmock-dev googletest \
            libbenchmark-dev libpng-dev libfreetype-dev fonts-dejavu-core \
            fonts-dejavu-extra pkg-config
JOBS ?= $(shell nproc)

.PHONY: all deps build demo test test-default test-asan test-clang bench clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  SUDO=; [ "$$(id -u)" = 0 ] || SUDO=sudo; \
	  $$SUDO apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -q $$missing; \
	fi

build: deps
	@[ -f build/default/build.ninja ] || cmake --preset default
	cmake --build --preset default -j $(JOBS)

demo: build
	./examples/demo.sh build/default

# One suite: configure if needed, build, run every test. (Phony targets take
# no pattern rules, so each suite is spelled out.)
define suite
	@[ -f build/$(1)/build.ninja ] || cmake --preset $(1)
	cmake --build --preset $(1) -j $(JOBS)
	ctest --preset $(1) -j $(JOBS)
endef

test-default: deps
	$(call suite,default)

test-asan: deps
	$(call suite,asan)

test-clang: deps
	$(call suite,clang)

test: test-default test-asan

bench: deps
	@[ -f build/release/build.ninja ] || cmake --preset release
	cmake --build --preset release -j $(JOBS)
	@for b in build/release/bench/*_bench; do [ -x $$b ] && $$b; done || true

clean:
	rm -rf build
