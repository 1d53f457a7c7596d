# Writes OUTPUT, a C++ source that holds each file of SOURCES as bytes, for phonePageFiles().
# Usage: cmake -DOUTPUT=FILE "-DSOURCES=A|B|..." -P embed-page.cmake
string(REPLACE "|" ";" SOURCES "${SOURCES}")
set(types_html "text/html; charset=utf-8")
set(types_js "text/javascript; charset=utf-8")
set(types_css "text/css; charset=utf-8")
set(types_svg "image/svg+xml")
set(arrays "")
set(entries "")
set(index 0)
foreach(source IN LISTS SOURCES)
  get_filename_component(name ${source} NAME)
  get_filename_component(extension ${source} LAST_EXT)
  string(SUBSTRING "${extension}" 1 -1 extension)
  if(NOT DEFINED types_${extension})
    message(FATAL_ERROR "${source}: no content type for .${extension}")
  endif()
  file(READ ${source} bytes HEX)
  string(LENGTH "${bytes}" length)
  math(EXPR length "${length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${bytes}")
  string(APPEND arrays "const char file${index}[] = {${bytes}};\n")
  if(name STREQUAL "index.html")
    set(name "")
  endif()
  string(APPEND entries "        {\"${name}\", \"${types_${extension}}\", {file${index}, ${length}}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.new "// Made by cmake/embed-page.cmake from src/phones/page.
#include \"phones/PhonePage.hpp\"

namespace {
${arrays}} // namespace

const std::vector<PageFile>& phonePageFiles() {
    static const std::vector<PageFile> files{
${entries}    };
    return files;
}
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
