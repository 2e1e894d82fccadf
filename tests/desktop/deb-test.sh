#!/usr/bin/env bash
# The Debian package made from the build (scripts/make-deb into a temporary folder), unpacked
# with dpkg -x into a temporary root: its files, its dependencies, the programs run from there,
# the desktop entries, the metainfo and the MIME types checked with their own tools, and lintian
# when it is there. Skipped (77) where the Debian packaging tools are missing.
#   deb-test.sh BUILD-FOLDER SOURCE-FOLDER
set -euo pipefail
build=$(realpath "$1")
src=$(realpath "$2")
for tool in dpkg-buildpackage dh dpkg-deb desktop-file-validate appstreamcli xmllint update-mime-database; do
  command -v "$tool" > /dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/corvane-deb-XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_RUNTIME_DIR=$work/run LANG=C.UTF-8
unset LANGUAGE LC_ALL LC_MESSAGES
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
fail() { echo "FAILED: $*" >&2; exit 1; }
starts_with() { local out; out=$("${@:2}") && [[ "$out" == "$1"* ]]; }

deb=$("$src/scripts/make-deb" "$build" "$work/out") || fail "make-deb"
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
[[ "$deb" == "$work/out/corvane_${version}_${arch}.deb" ]] || fail "package file name: $deb"
[[ $(ls "$work/out") == $'corvane_'"${version}_${arch}"$'.deb\ndeb' ]] || fail "more than the package: $(ls "$work/out")"

# Dependencies from the binaries, not written by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  [[ "$depends" == *"$lib "* || "$depends" == *"$lib," || "$depends" == *"$lib" ]] || fail "Depends lacks $lib: $depends"
done

root=$work/root
dpkg -x "$deb" "$root"
u=$root/usr
for f in bin/corvane bin/tallis bin/corvane-cli bin/tallis-cli \
         share/corvane/locale/de/LC_MESSAGES/default.mo share/corvane/locale/de/LC_MESSAGES/dialogs.mo \
         share/applications/corvane.desktop share/applications/tallis.desktop \
         share/icons/hicolor/48x48/apps/corvane.png share/icons/hicolor/256x256/apps/tallis.png \
         share/man/man1/corvane.1.gz share/man/man1/tallis.1.gz share/man/man1/corvane-cli.1.gz \
         share/man/man1/tallis-cli.1.gz \
         share/doc/corvane/user-guide.md share/doc/corvane/images/corvane-main-window.png \
         share/doc/corvane/tallis.png share/doc/corvane/copyright share/doc/corvane/changelog.gz \
         share/corvane/samples/hello.sr share/corvane/samples/hello.bin share/corvane/samples/hello.lst \
         share/corvane/samples/binloader.sr share/corvane/samples/binloader.bin \
         share/metainfo/example.holmvale.corvane.metainfo.xml share/metainfo/example.holmvale.tallis.metainfo.xml \
         share/mime/packages/corvane.xml; do
  [[ -s "$u/$f" ]] || fail "$f is not in the package"
done
[[ ! -e "$u/share/corvane/installed-files.txt" ]] || fail "the list of make install is in the package"
# Nothing names the build folder, and nothing lies outside /usr.
[[ $(ls "$root") == usr ]] || fail "outside /usr: $(ls "$root")"
! grep -rlF "$build" "$u/share" || fail "files name the build folder"

# The programs from the package's root: versions of the package, German from its catalogs.
[[ "$("$u/bin/corvane-cli" --version)" == "corvane-cli $version" ]] || fail "corvane-cli --version is not $version"
starts_with "Aufruf: corvane-cli" "$u/bin/corvane-cli" /lang:de --help || fail "corvane-cli in German"
starts_with "Aufruf: tallis" "$u/bin/tallis" /lang:de --help || fail "tallis in German"
zcat "$u/share/man/man1/corvane.1.gz" | grep -q '^\.TH CORVANE "1"' || fail "corvane(1)"
tallis_version=$("$u/bin/tallis-cli" --version | sed 's/^tallis-cli //')

# The desktop entries: valid, the programs in /usr/bin with the files handed to them, the types.
for entry in corvane tallis; do
  desktop-file-validate "$u/share/applications/$entry.desktop" || fail "$entry.desktop is not valid"
done
grep -qx 'Exec=/usr/bin/corvane %F' "$u/share/applications/corvane.desktop" || fail "corvane.desktop Exec"
grep -qx 'Exec=/usr/bin/tallis %f' "$u/share/applications/tallis.desktop" || fail "tallis.desktop Exec"
mimetypes=$(sed -n 's/^MimeType=//p' "$u/share/applications/corvane.desktop")
for type in application/x-corvane-dump application/x-corvane-state application/x-nova-tape text/x-nova-asm; do
  [[ ";$mimetypes" == *";$type;"* ]] || fail "corvane.desktop does not name $type"
done
grep -qx 'MimeType=inode/directory;' "$u/share/applications/tallis.desktop" || fail "tallis.desktop MimeType"

# The metainfo: valid, German summaries, the release of the programs.
for id in corvane tallis; do
  file=$u/share/metainfo/example.holmvale.$id.metainfo.xml
  appstreamcli validate --no-net "$file" > "$work/validate.log" 2>&1 || { cat "$work/validate.log"; fail "$id metainfo"; }
  grep -q '<summary xml:lang="de">' "$file" || fail "$id metainfo has no German summary"
  grep -q '<p xml:lang="de">' "$file" || fail "$id metainfo has no German description"
done
grep -q "<release version=\"$version\" date=\"[0-9-]*\"" "$u/share/metainfo/example.holmvale.corvane.metainfo.xml" ||
  fail "corvane metainfo release is not $version"
grep -q "<release version=\"$tallis_version\"" "$u/share/metainfo/example.holmvale.tallis.metainfo.xml" ||
  fail "tallis metainfo release is not $tallis_version"

# The MIME types: well-formed, taken by update-mime-database beside the system's types, each
# with a German comment and an icon of its own; *.bin stays the system's.
mime=$u/share/mime/packages/corvane.xml
xmllint --noout "$mime" || fail "corvane.xml is not well-formed"
db=$XDG_DATA_HOME/mime  # where update-mime-database expects a database of the user's
mkdir -p "$db/packages"
cp "$mime" "$db/packages/"
[[ -f /usr/share/mime/packages/freedesktop.org.xml ]] && cp /usr/share/mime/packages/freedesktop.org.xml "$db/packages/"
update-mime-database "$db" 2> "$work/mime.log" || { cat "$work/mime.log"; fail "update-mime-database"; }
[[ ! -s "$work/mime.log" ]] || { cat "$work/mime.log"; fail "update-mime-database complained"; }
for glob in application/x-corvane-dump:*.dmp application/x-corvane-state:*.nvs application/x-nova-tape:*.ab \
            text/x-nova-listing:*.lst text/x-nova-asm:*.sr text/x-nova-asm:*.asm; do
  grep -qF ":$glob" "$db/globs2" || fail "no glob $glob"
done
! grep -q ':\*\.bin$' <(grep -E 'corvane|nova' "$db/globs2") || fail "*.bin is claimed"
for type in application/x-corvane-dump application/x-corvane-state application/x-nova-tape text/x-nova-listing \
            text/x-nova-asm; do
  grep -q "<comment xml:lang=\"de\">" "$db/$type.xml" || fail "$type has no German comment"
  [[ -s "$u/share/icons/hicolor/48x48/mimetypes/${type/\//-}.png" ]] || fail "$type has no icon"
done

if command -v lintian > /dev/null; then
  lintian --fail-on error --no-tag-display-limit "$deb" > "$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log"; fail "lintian found errors"; }
  cat "$work/lintian.log"
fi
echo "package $deb: ok"
