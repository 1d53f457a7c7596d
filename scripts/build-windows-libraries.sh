#!/usr/bin/env bash
# Builds the libraries the Windows game links statically, FreeType and SFML 2.5.1, with
# MinGW-w64 from Debian's own source packages, into DIR/prefix; does nothing once that is done.
# Debian's SFML source has the bundled Windows libraries removed (stb_image, a header, stays),
# so FreeType is the only one to build, and with none of its optional libraries.
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
[ -f "$prefix/complete" ] && exit 0
rm -rf "$dir/apt" "$dir/src" "$dir/obj" "$prefix"
mkdir -p "$dir/apt/sources.list.d" "$dir/apt/lists/partial" "$dir/apt/cache" "$dir/src"

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

apt_options=(
  -o "Dir::Etc::SourceList=$dir/apt/none.list"
  -o "Dir::Etc::SourceParts=$dir/apt/sources.list.d"
  -o "Dir::State::Lists=$dir/apt/lists"
  -o "Dir::Cache=$dir/apt/cache"
)
# As root apt would hand the downloads to its own user, who may not write into DIR.
[ "$(id -u)" -eq 0 ] && apt_options+=(-o APT::Sandbox::User=root)
apt-get -qq "${apt_options[@]}" update
(cd "$dir/src" && quietly "$dir/source.log" apt-get -qq "${apt_options[@]}" source \
  libfreetype-dev libsfml-dev)

toolchain=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
  -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release)
jobs=${JOBS:-2}

echo "Building FreeType for Windows"
log=$dir/freetype.log
quietly "$log" cmake -S "$dir"/src/freetype-*/ -B "$dir/obj/freetype" "${toolchain[@]}" \
  -DBUILD_SHARED_LIBS=OFF -DFT_DISABLE_ZLIB=TRUE -DFT_DISABLE_BZIP2=TRUE -DFT_DISABLE_PNG=TRUE \
  -DFT_DISABLE_HARFBUZZ=TRUE -DFT_DISABLE_BROTLI=TRUE
quietly "$log" cmake --build "$dir/obj/freetype" -j "$jobs"
quietly "$log" cmake --install "$dir/obj/freetype"

sfml=$(echo "$dir"/src/libsfml-*/)
# SFML's CMake config names the Windows OpenGL library as Windows spells it, which a
# case-sensitive file system does not find.
sed -i 's/"OpenGL32"/"opengl32"/' "$sfml/cmake/SFMLConfigDependencies.cmake.in"
echo "Building SFML for Windows"
log=$dir/sfml.log
quietly "$log" cmake -S "$sfml" -B "$dir/obj/sfml" "${toolchain[@]}" -DBUILD_SHARED_LIBS=FALSE \
  -DSFML_USE_STATIC_STD_LIBS=TRUE -DSFML_USE_SYSTEM_DEPS=TRUE \
  -DSFML_BUILD_AUDIO=FALSE -DSFML_BUILD_NETWORK=FALSE \
  -DSFML_BUILD_EXAMPLES=FALSE -DSFML_BUILD_DOC=FALSE
quietly "$log" cmake --build "$dir/obj/sfml" -j "$jobs"
quietly "$log" cmake --install "$dir/obj/sfml"

touch "$prefix/complete"
echo "Windows libraries in $prefix"
