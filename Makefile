# Quick start: `make run` builds and runs the program (no test is compiled);
# `make test` builds the program and the tests and runs every test;
# `make install` puts the program into $(PREFIX)/bin, ~/.local/bin unless PREFIX is given;
# `make vsix` packages the VS Code extension for Linux and for Windows.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= $(HOME)/.local

.PHONY: configure build run test install uninstall clean vsix configure-windows windows \
  test-windows release

configure:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j $(JOBS) --target percorso

run: build
	$(BUILD)/bin/percorso

test: configure
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure --no-tests=error -j $(JOBS)

install: build
	install -d "$(DESTDIR)$(PREFIX)/bin"
	install -m 755 $(BUILD)/bin/percorso "$(DESTDIR)$(PREFIX)/bin/percorso"
	@case ":$$PATH:" in *":$(PREFIX)/bin:"*) ;; \
	  *) echo "$(PREFIX)/bin non e' nel PATH: aggiungi export PATH=\"$(PREFIX)/bin:\$$PATH\" a ~/.profile";; esac

uninstall:
	rm -f "$(DESTDIR)$(PREFIX)/bin/percorso"

# The VS Code extension for each platform with its program inside, from the npm
# registry's packages: editors/vscode/percorso-linux-x64.vsix and percorso-win32-x64.vsix.
vsix: build windows
	cd editors/vscode && npm ci --no-audit --no-fund
	editors/vscode/impacchetta $(BUILD)/bin/percorso $(BUILD_WINDOWS)/bin/percorso.exe

clean:
	rm -rf $(BUILD) $(BUILD_WINDOWS)

# Windows: cross-built with MinGW-w64, tested under Wine (see the README's Windows section).
BUILD_WINDOWS ?= build-windows
WINE ?= $(shell command -v wine64 || echo /usr/lib/wine/wine64)

configure-windows:
	cmake -S . -B $(BUILD_WINDOWS) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake

windows: configure-windows
	cmake --build $(BUILD_WINDOWS) -j $(JOBS) --target percorso

# The test program once under Wine, then the same bytes from both programs. Wine gives a
# working console only in a terminal: script makes one to run the console's test again,
# whose output the console fills with escapes; its status tells.
test-windows: configure-windows build
	cmake --build $(BUILD_WINDOWS) -j $(JOBS) --target percorso percorso_tests percorso_lotto
	WINEDEBUG=-all $(WINE) $(BUILD_WINDOWS)/tests/percorso_tests.exe --gtest_brief=1
	script -qec "PERCORSO_CONSOLE=1 WINEDEBUG=-all $(WINE) $(BUILD_WINDOWS)/tests/percorso_tests.exe \
	  --gtest_filter=UscitaIntera.OnAWindowsConsole*" /dev/null >/dev/null || \
	  { echo "il test della console di Windows fallisce: $(BUILD_WINDOWS)/tests/percorso_tests.exe --gtest_filter=UscitaIntera.* in un terminale"; exit 1; }
	WINE=$(WINE) tests/windows/stessi_byte $(BUILD)/bin/percorso $(BUILD_WINDOWS)/bin

# The Windows zip and the Linux tarball, in dist/, each with its extension.
release: vsix
	tools/release $(BUILD)/bin/percorso $(BUILD_WINDOWS)/bin/percorso.exe
