#!/usr/bin/env bash
# Builds the libraries the Windows game links statically, with MinGW-w64 from Debian's own source
# packages, into DIR/prefix: FreeType, SFML 2.5.1 with its sound module and what that needs,
# Ogg, Vorbis, FLAC and OpenAL Soft, qrcodegen for the phones' QR code, and Boost.Locale for the
# translations' message catalogues. Does nothing once that is done for the libraries listed
# below; a prefix built for fewer is built anew. Debian's SFML source has the bundled Windows
# libraries removed (stb_image, a header, stays), so all of them are built here, each with none
# of its optional libraries. Their licence texts go to DIR/prefix/share/licences.
#
# The source lists are fetched into DIR with a sources list of our own: the machine's deb-src
# entries or, where it has none, deb-src entries made from its deb entries. The machine's apt
# configuration and lists stay as they were.
# Usage: build-windows-libraries.sh DIR
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# Runs a command with its output in a log, which is shown only if the command fails.
quietly() {
  local log=$1
  shift
  "$@" >>"$log" 2>&1 || { tail -n 40 "$log" >&2; return 1; }
}
mkdir -p "$1"
dir=$(cd "$1" && pwd)
prefix=$dir/prefix
# What a finished prefix holds, kept in its marker: a prefix from before a library was added
# lacks it and is built again.
libraries="freetype ogg vorbis flac openal-soft sfml-system sfml-window sfml-graphics sfml-audio"
libraries+=" qrcodegen boost-locale"
[ "$(cat "$prefix/complete" 2>/dev/null)" = "$libraries" ] && exit 0
rm -rf "$dir/apt" "$dir/apt-next" "$dir/src" "$dir/obj" "$prefix" "$dir"/*.log
mkdir -p "$dir/apt/sources.list.d" "$dir/apt/lists/partial" "$dir/apt/cache" "$dir/src"
mkdir -p "$dir/apt-next/sources.list.d" "$dir/apt-next/lists/partial" "$dir/apt-next/cache"

eval "$(apt-config shell source_list Dir::Etc::SourceList/f source_parts Dir::Etc::SourceParts/d)"
one_line=()
deb822=()
[ -f "$source_list" ] && one_line+=("$source_list")
for file in "$source_parts"*.list; do [ -f "$file" ] && one_line+=("$file"); done
for file in "$source_parts"*.sources; do [ -f "$file" ] && deb822+=("$file"); done

# Prints the entries of the given type as deb-src entries: one-line entries and deb822 stanzas
# (those not switched off), each in its own format.
entries() {
  local type=$1 format=$2
  shift 2
  [ $# -eq 0 ] && return 0
  if [ "$format" = one-line ]; then
    sed -n -E "s/^[[:space:]]*$type([[:space:]])/deb-src\\1/p" "$@"
  else
    awk -v type="$type" 'BEGIN { RS = ""; FS = "\n" }
      {
        types = ""; enabled = 1
        for (i = 1; i <= NF; i++) {
          field = tolower($i)
          if (field ~ /^types:/) types = field " "
          if (field ~ /^enabled:[[:space:]]*no/) enabled = 0
        }
        if (!enabled || types !~ ("[[:space:]]" type "[[:space:]]")) next
        for (i = 1; i <= NF; i++) {
          if ($i ~ /^#/) continue
          print (tolower($i) ~ /^types:/ ? "Types: deb-src" : $i)
        }
        print ""
      }' "$@"
  fi
}
type=deb-src
existing=$(entries deb-src one-line "${one_line[@]}")$(entries deb-src deb822 "${deb822[@]}")
[ -z "$existing" ] && type=deb
entries "$type" one-line "${one_line[@]}" >"$dir/apt/sources.list.d/sources.list"
entries "$type" deb822 "${deb822[@]}" >"$dir/apt/sources.list.d/sources.sources"

# OpenAL Soft alone comes from Debian 13 (trixie): the archive this project builds from holds
# bookworm's openal-soft source package without its tarballs, and trixie's without its .dsc and
# Debian changes, so trixie's upstream tarball is all there is to have (apt checks it against the
# source index all the same), without Debian's changes. Its entries are the machine's own with
# the suite names made trixie's.
sed 's/\<bookworm\>/trixie/g' "$dir/apt/sources.list.d/sources.list" \
  >"$dir/apt-next/sources.list.d/sources.list"
sed '/^suites:/I s/\<bookworm\>/trixie/g' "$dir/apt/sources.list.d/sources.sources" \
  >"$dir/apt-next/sources.list.d/sources.sources"

# Sets the array NAME to the apt options that keep apt to the folder APT of DIR, for its lists
# and its downloads.
set_apt_options() {
  local -n options=$1
  local apt=$dir/$2
  options=(-o "Dir::Etc::SourceList=$apt/none.list" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
    -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache")
  # As root apt would hand the downloads to its own user, who may not write into DIR.
  [ "$(id -u)" -eq 0 ] && options+=(-o APT::Sandbox::User=root)
  return 0
}
set_apt_options apt_options apt
set_apt_options next_options apt-next
apt-get -qq "${apt_options[@]}" update
apt-get -qq "${next_options[@]}" update
(cd "$dir/src" && quietly "$dir/source.log" apt-get -qq "${apt_options[@]}" source \
  libfreetype-dev libsfml-dev libogg-dev libvorbis-dev libflac-dev)
# Bookworm's qr-code-generator, like its openal-soft, has its upstream tarball in the archive but
# not its Debian changes, which only package it.
(cd "$dir/src" && quietly "$dir/source.log" apt-get -qq "${apt_options[@]}" --tar-only source \
  libqrcodegencpp-dev && quietly "$dir/source.log" tar xf qr-code-generator_*.orig.tar.gz)
(cd "$dir/src" && quietly "$dir/source.log" apt-get -qq "${next_options[@]}" --tar-only source \
  libopenal-dev && quietly "$dir/source.log" tar xf openal-soft_*.orig.tar.[gx]z)
# Of all of Boost only Locale is built, so only its folder and Boost's licence are unpacked: the
# whole tree would be some 50,000 files. Debian's changes to Boost 1.81 touch no part of Locale.
mkdir -p "$dir/src/boost-locale"
(cd "$dir/src" && quietly "$dir/source.log" apt-get -qq "${apt_options[@]}" --tar-only source \
  libboost-locale1.81-dev && quietly "$dir/source.log" tar xf boost1.81_*.orig.tar.xz \
  -C boost-locale boost/LICENSE_1_0.txt boost/libs/locale)

toolchain=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
  -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release)
jobs=${JOBS:-2}

# Configures, builds and installs the source in src/SOURCE as NAME, with the given options.
build() {
  local name=$1 source=$2 log=$dir/$1.log
  shift 2
  echo "Building $name for Windows"
  quietly "$log" cmake -S "$(echo "$dir"/src/$source/)" -B "$dir/obj/$name" "${toolchain[@]}" "$@"
  quietly "$log" cmake --build "$dir/obj/$name" -j "$jobs"
  quietly "$log" cmake --install "$dir/obj/$name"
}

build freetype 'freetype-*' -DBUILD_SHARED_LIBS=OFF -DFT_DISABLE_ZLIB=TRUE -DFT_DISABLE_BZIP2=TRUE \
  -DFT_DISABLE_PNG=TRUE -DFT_DISABLE_HARFBUZZ=TRUE -DFT_DISABLE_BROTLI=TRUE

build ogg 'libogg-*' -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF -DINSTALL_DOCS=OFF \
  -DINSTALL_PKG_CONFIG_MODULE=OFF
build vorbis 'libvorbis-*' -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF
# FLAC without Ogg: SFML reads plain FLAC files only, and links Ogg before FLAC, which would leave
# an Ogg FLAC's calls unresolved. Without stack protection too, which MinGW has only in a
# library of its own (libssp) that SFML's users would have to link.
build flac 'flac-*' -DBUILD_SHARED_LIBS=OFF -DWITH_OGG=OFF -DBUILD_CXXLIBS=OFF \
  -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DBUILD_DOCS=OFF \
  -DINSTALL_MANPAGES=OFF -DINSTALL_PKGCONFIG_MODULES=OFF \
  -DWITH_STACK_PROTECTOR=OFF -DWITH_FORTIFY_SOURCE=OFF
# OpenAL Soft with the backends every Windows has, WASAPI, DirectSound and WinMM, and the wave
# writer, which the tests listen through; no configuration tool, HRTF data or EAX. Debian 12's
# CMake (3.25) does not know the generator expression (3.26) with which it keeps the formatting
# library it builds in out of its CMake package; we use no such package, so it links that library
# plainly, installs nothing, and its library and headers are copied.
openal=$(echo "$dir"/src/openal-soft-*/)
sed -i 's/\$<BUILD_LOCAL_INTERFACE:alsoft::fmt>/alsoft::fmt/' "$openal/CMakeLists.txt"
openal_backends=()
for backend in PIPEWIRE PULSEAUDIO JACK COREAUDIO OBOE OPENSL PORTAUDIO SDL2 SDL3 OTHERIO; do
  openal_backends+=(-DALSOFT_BACKEND_$backend=OFF)
done
build openal-soft 'openal-soft-*' -DLIBTYPE=STATIC -DALSOFT_INSTALL=OFF -DALSOFT_UTILS=OFF \
  -DALSOFT_EXAMPLES=OFF -DALSOFT_TESTS=OFF -DALSOFT_INSTALL_CONFIG=OFF \
  -DALSOFT_INSTALL_HRTF_DATA=OFF -DALSOFT_INSTALL_AMBDEC_PRESETS=OFF \
  -DALSOFT_EMBED_HRTF_DATA=OFF -DALSOFT_EAX=OFF -DALSOFT_UPDATE_BUILD_VERSION=OFF \
  -DALSOFT_BACKEND_WASAPI=ON -DALSOFT_BACKEND_DSOUND=ON -DALSOFT_BACKEND_WINMM=ON \
  -DALSOFT_BACKEND_WAVE=ON -DALSOFT_REQUIRE_WASAPI=ON -DALSOFT_REQUIRE_DSOUND=ON \
  -DALSOFT_REQUIRE_WINMM=ON "${openal_backends[@]}"
cp "$dir/obj/openal-soft/libOpenAL32.a" "$prefix/lib/"
cp -r "$openal/include/AL" "$prefix/include/"
# Its headers declare its functions as a DLL's unless AL_LIBTYPE_STATIC is defined. The prefix
# holds the static library only, so its headers define it themselves, for SFML's sound module and
# the game alike.
for header in al.h alc.h; do
  { printf '#ifndef AL_LIBTYPE_STATIC\n#define AL_LIBTYPE_STATIC\n#endif\n'
    cat "$openal/include/AL/$header"; } >"$prefix/include/AL/$header"
done

sfml=$(echo "$dir"/src/libsfml-*/)
# SFML's CMake config names the Windows OpenGL library as Windows spells it, which a
# case-sensitive file system does not find, and looks for OpenAL Soft's under names that miss
# the one it has on Windows.
sed -i -e 's/"OpenGL32"/"opengl32"/' \
  -e 's/SEARCH_NAMES "OpenAL" "openal" "openal32"/& "OpenAL32"/' \
  "$sfml/cmake/SFMLConfigDependencies.cmake.in"
# A static OpenAL Soft needs the Windows libraries of its backends, which a game that links SFML
# statically gets from SFML's CMake config.
sed -i '/FRIENDLY_NAME "OpenAL"/a\
        if(FIND_SFML_OS_WINDOWS)\
            set_property(TARGET OpenAL APPEND PROPERTY INTERFACE_LINK_LIBRARIES "winmm" "avrt" "ole32")\
        endif()' "$sfml/cmake/SFMLConfigDependencies.cmake.in"
build sfml 'libsfml-*' -DBUILD_SHARED_LIBS=FALSE -DSFML_USE_STATIC_STD_LIBS=TRUE \
  -DSFML_USE_SYSTEM_DEPS=TRUE -DSFML_BUILD_AUDIO=TRUE -DSFML_BUILD_NETWORK=FALSE \
  -DSFML_BUILD_EXAMPLES=FALSE -DSFML_BUILD_DOC=FALSE

# qrcodegen is one source file: a static library of it, laid out as Debian's package has it.
qrcodegen=$(echo "$dir"/src/QR-Code-generator-*)
echo "Building qrcodegen for Windows"
mkdir -p "$dir/obj/qrcodegen" "$prefix/include/qrcodegen" "$prefix/lib"
quietly "$dir/qrcodegen.log" x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -c \
  "$qrcodegen/cpp/qrcodegen.cpp" -o "$dir/obj/qrcodegen/qrcodegen.o"
quietly "$dir/qrcodegen.log" x86_64-w64-mingw32-ar rcs "$prefix/lib/libqrcodegencpp.a" \
  "$dir/obj/qrcodegen/qrcodegen.o"
cp "$qrcodegen/cpp/qrcodegen.hpp" "$prefix/include/qrcodegen/"

# Boost.Locale by its own CMake file, which stands in a Boost tree and asks it for the libraries
# it uses; here all of those are headers, the ones the game includes: Debian's Boost headers,
# whose folder alone is put on the include path (as the game puts it), not the build machine's
# other headers. Locale's own headers come from its source, the same as Debian's. Without ICU
# and iconv, as Boost.Locale builds for Windows where it finds neither, it has the backends of
# the C++ library and of the Windows API and converts between encodings with Windows' own
# functions. The game links the static library without BOOST_LOCALE_DYN_LINK, which would make
# its functions a DLL's, and in the game's C++ dialect.
cat >"$dir/src/boost-locale/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.18)
project(boost_locale_for_windows LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_EXTENSIONS OFF)
set(BOOST_SUPERPROJECT_VERSION 1.81.0)
find_path(BOOST_HEADERS boost/version.hpp PATHS /usr/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/boost-include)
file(CREATE_LINK ${BOOST_HEADERS}/boost ${CMAKE_BINARY_DIR}/boost-include/boost SYMBOLIC)
add_library(boost_headers INTERFACE)
target_include_directories(boost_headers SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/boost-include)
foreach(library assert config core iterator predef thread)
  add_library(Boost::${library} ALIAS boost_headers)
endforeach()
add_subdirectory(boost/libs/locale locale)
install(TARGETS boost_locale ARCHIVE DESTINATION lib)
CMAKE
build boost-locale boost-locale -DBOOST_LOCALE_ENABLE_ICU=OFF -DBOOST_LOCALE_ENABLE_ICONV=OFF

# The licences that travel with a program that links these libraries, one text file each.
licences=$prefix/share/licences
mkdir -p "$licences"
src=$dir/src
cp "$src"/freetype-*/docs/FTL.TXT "$licences/FreeType.txt"
cp "$src"/libogg-*/COPYING "$licences/Ogg.txt"
cp "$src"/libvorbis-*/COPYING "$licences/Vorbis.txt"
cp "$src"/flac-*/COPYING.Xiph "$licences/FLAC.txt"
cp "$sfml/license.md" "$licences/SFML.txt"
# qrcodegen's licence is the last section of its read-me.
sed -n '/^License$/,$p' "$qrcodegen/Readme.markdown" >"$licences/qrcodegen.txt"
cp "$src/boost-locale/boost/LICENSE_1_0.txt" "$licences/Boost.txt"
# OpenAL Soft's own licence, the LGPL, and those of the parts it includes from elsewhere.
(
  cd "$openal"
  cat COPYING
  for file in BSD-3Clause LICENSE-pffft fmt-*/LICENSE; do
    printf '\n\n----- %s -----\n\n' "${file%%/*}"
    cat "$file"
  done
) >"$licences/OpenAL-Soft.txt"

echo "$libraries" >"$prefix/complete"
echo "Windows libraries in $prefix"
