#!/usr/bin/env bash
# "make install" into a temporary prefix, the installed programs run from there (the command-line
# tools, German from the installed catalogs, the window program offscreen), the desktop entries
# validated, then "make uninstall" leaves nothing behind.
#   install-test.sh BUILD-FOLDER SOURCE-FOLDER
set -euo pipefail
build=$(realpath "$1")
src=$(realpath "$2")
work=$(mktemp -d "${TMPDIR:-/tmp}/corvane-install-XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_RUNTIME_DIR=$work/run
export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8
unset LANGUAGE LC_ALL LC_MESSAGES
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"

fail() { echo "FAILED: $*" >&2; exit 1; }
# The whole output first: "cmd | grep -q" would end the command early by a broken pipe.
starts_with() { local out; out=$("${@:2}") && [[ "$out" == "$1"* ]]; }

# The install script of the build writes its own manifest into the build folder; a copy of the
# top-level script that writes it here instead installs the same files.
sed "s#file(WRITE \"$build/#file(WRITE \"$work/#" "$build/cmake_install.cmake" > "$work/cmake_install.cmake"
cmake -DCMAKE_INSTALL_PREFIX="$prefix" -P "$work/cmake_install.cmake" > "$work/install.log"

for f in bin/corvane bin/tallis bin/corvane-cli bin/tallis-cli \
         share/corvane/locale/de/LC_MESSAGES/default.mo share/corvane/locale/de/LC_MESSAGES/dialogs.mo \
         share/applications/corvane.desktop share/applications/tallis.desktop \
         share/icons/hicolor/48x48/apps/corvane.png share/icons/hicolor/256x256/apps/tallis.png \
         share/man/man1/corvane-cli.1 share/man/man1/tallis-cli.1 share/man/man1/corvane.1 share/man/man1/tallis.1 \
         share/metainfo/example.holmvale.corvane.metainfo.xml share/mime/packages/corvane.xml \
         share/icons/hicolor/48x48/mimetypes/application-x-nova-tape.png \
         share/doc/corvane/user-guide.md share/doc/corvane/images/corvane-front-panel.png \
         share/corvane/samples/hello.sr share/corvane/samples/hello.bin; do
  [[ -s "$prefix/$f" ]] || fail "$f was not installed"
done
[[ ! -e "$prefix/bin/locale" ]] || fail "catalogs beside the installed programs"

# The command-line tools, German from the installed catalogs. The versions are those of the
# build (Version.h), in three parts.
version() { sed -n "s/^#define $1 \"\([0-9]*\.[0-9]*\.[0-9]*\).*/\1/p" "$build/generated/Version.h"; }
[[ "$("$prefix/bin/corvane-cli" --version)" == "corvane-cli $(version CORVANE_VERSION)" ]] || fail "corvane-cli --version"
[[ "$("$prefix/bin/tallis-cli" --version)" == "tallis-cli $(version TALLIS_VERSION)" ]] || fail "tallis-cli --version"
starts_with "Aufruf: tallis-cli" "$prefix/bin/tallis-cli" /lang:de --help || fail "tallis-cli in German"
starts_with "Aufruf: corvane-cli" "$prefix/bin/corvane-cli" /lang:de --help || fail "corvane-cli in German"

# The window programs: German help, then a real start offscreen, ended as a logout ends it.
starts_with "Aufruf: corvane" "$prefix/bin/corvane" /lang:de --help || fail "corvane in German"
starts_with "Aufruf: tallis" "$prefix/bin/tallis" /lang:de --help || fail "tallis in German"
"$prefix/bin/corvane" /lang:de > "$work/corvane.log" 2>&1 &
pid=$!
settings=$XDG_CONFIG_HOME/Holmvale/Corvane.ini
# Ready for the signal once the window has taken over SIGTERM (bit 15 of the caught signals).
for _ in $(seq 6000); do
  kill -0 $pid 2>/dev/null || fail "corvane ended at start: $(cat "$work/corvane.log")"
  caught=$(sed -n 's/^SigCgt:[[:space:]]*//p' /proc/$pid/status)
  (( (16#$caught >> 14) & 1 )) && break
  sleep 0.05
done
kill -TERM $pid
wait $pid || fail "corvane ended with status $?: $(cat "$work/corvane.log")"
[[ -s "$settings" ]] || fail "corvane wrote no settings"

# The desktop entries.
for entry in corvane tallis; do
  desktop-file-validate "$prefix/share/applications/$entry.desktop" || fail "$entry.desktop is not valid"
  grep -q "^Exec=$prefix/bin/$entry %[fF]\$" "$prefix/share/applications/$entry.desktop" || fail "$entry.desktop Exec"
  grep -q "^Name\[de\]=" "$prefix/share/applications/$entry.desktop" || fail "$entry.desktop German name"
done
grep -q '^\.TH CORVANE-CLI "1"' "$prefix/share/man/man1/corvane-cli.1" || fail "corvane-cli(1)"

# make uninstall: nothing of ours is left; a file of the user's in the same folders stays.
echo "the user's own" > "$prefix/bin/mine"
"$src/scripts/uninstall" "$prefix" > /dev/null
left=$(cd "$prefix" && find . -mindepth 1 | sort | tr '\n' ' ')
[[ "$left" == "./bin ./bin/mine " ]] || fail "left after uninstall: $left"
echo "install, run and uninstall: ok"
