#pragma once

#include <locale>
#include <string>

/// Why the path is no regular file (or link to one), the only kind the game reads, since a
/// pipe, a socket or a device would hold it up: "no such file", the words given for a
/// folder, the system's reason, or "not a regular file", in the language given. Empty when it
/// is one. Nothing is opened.
std::string whyNotARegularFile(const std::string& path, const std::string& aFolder,
                               const std::locale& words);
