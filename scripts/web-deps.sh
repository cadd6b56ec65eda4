#!/usr/bin/env bash
# Builds the libraries the web game links, from Debian's source packages with Emscripten, each
# once into a folder of its own in the cache (ZINTREL_WEB_CACHE, by default
# ~/.cache/zintrel-web): <name>-<Debian version>/, holding include/ and lib/. A library whose
# folder is complete is taken as it is, without a look at the network. Emscripten's own ports
# download from the internet and are never used. Prints the CMake prefix path of them all.
# Emscripten puts its own SDL 1 headers among the system's: the libraries found here are
# included ahead of them (CMAKE_NO_SYSTEM_FROM_IMPORTED).
set -euo pipefail
cd "$(dirname "$0")/.."

cache=${ZINTREL_WEB_CACHE:-$HOME/.cache/zintrel-web}
jobs=${ZINTREL_WEB_JOBS:-2}
mkdir -p "$cache"
# The cache's builds run in the background of whatever else the machine does.
nice=(nice -n 10)
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

sources_list=/etc/apt/sources.list.d/zintrel-web-src.sources
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi

# The Debian version apt offers for a source package (without its epoch), from the lists apt
# already holds; the deb-src entry is added and the lists updated the first time.
source_version() {
  local dsc
  dsc=$(apt-get source --print-uris -qq "$1" 2>/dev/null | awk '{print $2}' | grep '\.dsc$' ||
    true)
  if [ -z "$dsc" ]; then
    if [ ! -f "$sources_list" ]; then
      printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" \
        "Suites: bookworm bookworm-updates" "Components: main" \
        "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" |
        "${sudo[@]}" tee "$sources_list" >/dev/null
    fi
    "${sudo[@]}" apt-get update -qq >&2
    dsc=$(apt-get source --print-uris -qq "$1" | awk '{print $2}' | grep '\.dsc$')
  fi
  dsc=${dsc#"$1"_}
  echo "${dsc%.dsc}"
}

# The folder a library is built into; empty when it is not there yet. An existing complete
# folder, built the same way (its .complete file holds the way), is found without asking apt.
built() {
  local name=$1 recipe=$2 done
  for done in $(compgen -G "$cache/$name-[0-9]*/.complete" | sort -rV); do
    if [ "$(cat "$done")" = "$recipe" ]; then
      dirname "$done"
      return
    fi
  done
}

prefixes=()

# build NAME SOURCE-PACKAGE KIND OPTIONS...: unpacks the source package and builds it with
# Emscripten's CMake wrapper (KIND cmake) or configure wrapper (KIND configure) into the cache.
build() {
  local name=$1 package=$2 kind=$3
  shift 3
  local prefix recipe="$kind $*"
  prefix=$(built "$name" "$recipe")
  if [ -z "$prefix" ]; then
    local version work
    version=$(source_version "$package")
    prefix="$cache/$name-$version"
    rm -rf "$prefix"
    work=$(mktemp -d "$cache/.build-$name-XXXXXX")
    echo "Building $name $version for the web (once; it is kept in $cache)" >&2
    (
      cd "$work"
      apt-get source -qq "$package" >/dev/null 2>&1
      cd "$(find . -mindepth 1 -maxdepth 1 -type d | head -1)"
      local root
      root=$(IFS=';' && echo "${prefixes[*]:-}")
      if [ "$kind" = cmake ]; then
        "${nice[@]}" emcmake cmake -S . -B build -DCMAKE_BUILD_TYPE=Release \
          -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_FIND_ROOT_PATH="$root" \
          -DCMAKE_PREFIX_PATH="$root" -DCMAKE_NO_SYSTEM_FROM_IMPORTED=ON \
          -DBUILD_SHARED_LIBS=OFF "$@" >build.log 2>&1 ||
          { tail -30 build.log >&2 && exit 1; }
        "${nice[@]}" cmake --build build -j"$jobs" >>build.log 2>&1 ||
          { tail -30 build.log >&2 && exit 1; }
        cmake --install build >>build.log 2>&1
      else
        "${nice[@]}" emconfigure ./configure --prefix="$prefix" "$@" >build.log 2>&1 ||
          { tail -30 build.log >&2 && exit 1; }
        "${nice[@]}" emmake make -j"$jobs" >>build.log 2>&1 || { tail -30 build.log >&2 && exit 1; }
        emmake make install >>build.log 2>&1
      fi
    )
    rm -rf "$work"
    echo "$recipe" >"$prefix/.complete"
  fi
  prefixes+=("$prefix")
}

build zlib zlib configure --static
build libpng libpng1.6 cmake -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DZLIB_ROOT="${prefixes[0]}"
# CMake's measure of a type's size reads the wrong number out of a WebAssembly object.
build libjpeg-turbo libjpeg-turbo cmake -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
  -DHAVE_SIZE_T=TRUE -DSIZE_T=4 -DHAVE_UNSIGNED_LONG=TRUE -DUNSIGNED_LONG=4
build freetype freetype cmake -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
build sdl2 libsdl2 cmake -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
# Text is shaped by HarfBuzz, as on the desktop, so that its pixels are the desktop's.
build harfbuzz harfbuzz cmake -DHB_HAVE_FREETYPE=ON -DHB_BUILD_SUBSET=OFF
build sdl2-ttf libsdl2-ttf cmake -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_VENDORED=OFF \
  -DSDL2TTF_HARFBUZZ=ON
# Music reaches the page as Ogg Vorbis, through the mixer's own decoder; nothing else is needed.
build sdl2-mixer libsdl2-mixer cmake -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VENDORED=OFF \
  -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF \
  -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=STB \
  -DSDL2MIXER_WAVE=ON

(IFS=';' && echo "${prefixes[*]}")
