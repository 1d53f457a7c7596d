#pragma once

#include <string>
#include <vector>

/// A QR code's modules, row by row, dark ones true; empty where the text does not fit one.
std::vector<std::vector<bool>> qrModules(const std::string& text);

/// The modules of a QR code's quiet zone on each side.
constexpr int qrQuietModules = 4;

/// The QR code of the text as an SVG picture, one unit a module, with its quiet zone, drawn
/// sharp at any size; an empty picture where the text does not fit one.
std::string qrSvg(const std::string& text);
