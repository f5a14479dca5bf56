#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the installed files, and runs the
# installed program against its own data folder.
set -euo pipefail
build=$1
version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.glyphnab.Glyphnab
desktop=$prefix/share/applications/$id.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/$id.svg
for file in bin/glyphnab share/glyphnab/Info.plist share/glyphnab/ZantrelKit_ZantrelKit.bundle/box-apps.json \
            share/applications/$id.desktop share/icons/hicolor/scalable/apps/$id.svg \
            share/icons/hicolor/symbolic/apps/$id-symbolic.svg share/glyphnab/icons/$id.svg; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
[ -d "$prefix/share/glyphnab/GlyphnabCore_GlyphnabCore.bundle" ] || fail "not installed: the app's string tables"
[ -x "$prefix/bin/glyphnab" ] || fail "the program is not executable"

# The desktop entry: valid, naming the installed program and icon, offered for pictures and PDFs.
if [ -f "$desktop" ]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
  key() { sed -n "1,/^\[Desktop Action/s/^$1=//p" "$desktop"; }
  [ "$(key Name)" = Glyphnab ] || fail "Name is '$(key Name)'"
  [ "$(key Exec)" = "glyphnab %F" ] || fail "Exec is '$(key Exec)'"
  [ "$(key Icon)" = "$id" ] || fail "Icon is '$(key Icon)'"
  [ "$(key StartupNotify)" = false ] || fail "StartupNotify is '$(key StartupNotify)'"
  case ";$(key Categories)" in *";Utility;"*) ;; *) fail "Categories lack Utility" ;; esac
  for type in image/png image/jpeg image/tiff application/pdf; do
    case ";$(key MimeType)" in *";$type;"*) ;; *) fail "MimeType lacks $type" ;; esac
  done
  # Launchers offer the grab and the reading of a file beside the app itself.
  action() { sed -n "/^\[Desktop Action $1\]/,/^\[/s/^$2=//p" "$desktop"; }
  for entry in "grab|Grab Text|glyphnab grab" "read-file|Read Text in a File|glyphnab --read-file"; do
    IFS='|' read -r name title exec <<<"$entry"
    case ";$(key Actions)" in *";$name;"*) ;; *) fail "Actions lacks $name" ;; esac
    [ "$(action "$name" Name)" = "$title" ] || fail "the $name action is named '$(action "$name" Name)'"
    [ "$(action "$name" Exec)" = "$exec" ] || fail "the $name action runs '$(action "$name" Exec)'"
  done
fi
if [ -f "$icon" ]; then
  grep -q '<svg' "$icon" || fail "the icon is not an SVG"
  if command -v xmllint >/dev/null; then xmllint --noout "$icon" || fail "the icon is not well-formed"; fi
fi

# The installed program reads the installed data folder, not the build tree's: mark the
# installed Info.plist and look for the mark in the version it prints.
out=$("$prefix/bin/glyphnab" --version) || fail "glyphnab --version failed"
[ "$out" = "Glyphnab $version" ] || fail "glyphnab --version printed '$out', not 'Glyphnab $version'"
sed -i "s|<string>$version</string>|<string>$version-installed</string>|" "$prefix/share/glyphnab/Info.plist"
out=$("$prefix/bin/glyphnab" --version) || fail "glyphnab --version failed"
[ "$out" = "Glyphnab $version-installed" ] || fail "the installed program did not read its own data folder: '$out'"

# Moved elsewhere after installing, it still finds its data beside it.
moved=$(mktemp -d)
trap 'rm -rf "$prefix" "$moved"' EXIT
cp -a "$prefix/." "$moved/"
sed -i "s|<string>$version-installed</string>|<string>$version-moved</string>|" "$moved/share/glyphnab/Info.plist"
out=$("$moved/bin/glyphnab" --version) || fail "the moved glyphnab --version failed"
[ "$out" = "Glyphnab $version-moved" ] || fail "the moved program did not read its own data folder: '$out'"

[ "$failures" -eq 0 ] || exit 1
echo "installed and checked under $prefix"
