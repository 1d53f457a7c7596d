#pragma once

#include <string>

/// Why no window can be opened, in one line for the user; empty when the display is there.
/// SFML itself aborts the process when it finds no display.
std::string displayProblem();
