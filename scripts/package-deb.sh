#!/usr/bin/env bash
# Builds the Debian package brontal_<version>_<arch>.deb in the top of the source tree: the game,
# brontal-level, the sample level and sky, the desktop entry with its AppStream metainfo, the
# icon, the man page, the copyright file and the changelog. The package has its own release
# build (build/package, tests and benchmarks off, Debian's hardening flags) and its dependencies
# come from dpkg-shlibdeps. When lintian is installed it checks the package and any error fails
# the script.
#   scripts/package-deb.sh
# BRONTAL_JOBS sets the build's parallel jobs (default: the number of processors).
set -euo pipefail
umask 022
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$top/build/package"
stage="$build/deb-root"

# What the build needs, and what packaging needs beyond it.
"$top/scripts/install-deps.sh" dpkg-dev binutils gzip

# The version: the project's, with the Debian revision from the package changelog.
upstream="$(sed -n 's/^project(Brontal VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")"
version="$(sed -n '1s/^brontal (\([^)]*\)).*/\1/p' "$top/packaging/debian/changelog")"
if [ "${version%-*}" != "$upstream" ]; then
  echo "package-deb: packaging/debian/changelog is at $version but the project is at $upstream" >&2
  exit 1
fi
arch="$(dpkg --print-architecture)"
deb="$top/brontal_${version}_${arch}.deb"

# A release build under /usr with Debian's compiler and linker flags (hardening included). The
# game goes where Debian keeps games, /usr/games; it finds /usr/share/brontal from there.
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
cppflags="$(dpkg-buildflags --get CPPFLAGS)"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games \
  -DBRONTAL_TESTS=OFF -DBRONTAL_BENCH=OFF -DBRONTAL_WERROR=OFF \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j "${BRONTAL_JOBS:-$(nproc)}"

# The tree the package holds, as Debian wants it: stripped programs, a desktop entry that starts
# the game whatever the PATH (root's has no /usr/games), compressed man pages, the copyright file
# and the changelog.
rm -rf "$stage"
DESTDIR="$stage" cmake --install "$build" --strip >/dev/null
sed -i 's|^Exec=brontal$|Exec=/usr/games/brontal|' "$stage/usr/share/applications/brontal.desktop"
grep -qx 'Exec=/usr/games/brontal' "$stage/usr/share/applications/brontal.desktop"
gzip -9n "$stage/usr/share/man/man6/brontal.6" "$stage/usr/share/man/man1/brontal-level.1"
doc="$stage/usr/share/doc/brontal"
install -d "$doc"
install -m 644 "$top/packaging/debian/copyright" "$doc/copyright"
gzip -9n -c "$top/packaging/debian/changelog" > "$doc/changelog.Debian.gz"

# The control file, with the libraries the programs link found by dpkg-shlibdeps; the Mesa
# EGL vendor and drivers (loaded at run time) and the HUD's font are named by hand.
shlibs_dir="$(mktemp -d)"
trap 'rm -rf "$shlibs_dir"' EXIT
mkdir "$shlibs_dir/debian"
printf 'Source: brontal\n\nPackage: brontal\nArchitecture: any\n' > "$shlibs_dir/debian/control"
shlibs="$(cd "$shlibs_dir" && dpkg-shlibdeps -O -e"$stage/usr/games/brontal" -e"$stage/usr/games/brontal-level")"
shlibs="${shlibs#shlibs:Depends=}"
install -d "$stage/DEBIAN"
cat > "$stage/DEBIAN/control" <<CONTROL
Package: brontal
Version: $version
Architecture: $arch
Maintainer: Brontal developers <brontal-dev@example.org>
Installed-Size: $(du -sk "$stage/usr" | cut -f1)
Depends: $shlibs, libegl-mesa0, libgl1-mesa-dri, fonts-liberation
Section: games
Priority: optional
Description: third-person 3D walk-through game
 Steer a key-framed animated figure through a level of rooms, seen by a chase
 camera from behind. The figure runs, stops, turns and steps back, falls under
 gravity and is held out of walls and furniture; the room it is in decides
 which rooms are drawn, whether the sky is drawn, and the name on the HUD.
 .
 Plays with the keyboard or a gamepad. Comes with a sample level and sky and
 with brontal-level, which describes and checks level files.
CONTROL
(cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum) > "$stage/DEBIAN/md5sums"
chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "$deb"
if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb"
fi
