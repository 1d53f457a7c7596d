#include "phones/QrCode.hpp"

#include <qrcodegen.hpp>

#include <algorithm>
#include <cctype>
#include <cstddef>

std::vector<std::vector<bool>> qrModules(const std::string& text) {
    // Upper case is the QR code's alphanumeric mode, which packs a link into a smaller code:
    // schemes and addresses do not care, and the game reads its key in either case.
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char letter) { return static_cast<char>(std::toupper(letter)); });
    std::vector<std::vector<bool>> modules;
    try {
        const auto code =
            qrcodegen::QrCode::encodeText(upper.c_str(), qrcodegen::QrCode::Ecc::MEDIUM);
        for (int y = 0; y < code.getSize(); ++y) {
            std::vector<bool>& row = modules.emplace_back();
            for (int x = 0; x < code.getSize(); ++x) {
                row.push_back(code.getModule(x, y));
            }
        }
    } catch (const qrcodegen::data_too_long&) {
        modules.clear();
    }
    return modules;
}

std::string qrSvg(const std::string& text) {
    const auto modules = qrModules(text);
    const std::string side =
        std::to_string(modules.size() + static_cast<std::size_t>(2 * qrQuietModules));
    std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 )" + side + " " +
                      side + R"(" shape-rendering="crispEdges"><rect width=")" + side +
                      R"(" height=")" + side + R"(" fill="#fff"/><path d=")";
    // Each run of dark modules in a row as one rectangle.
    for (std::size_t y = 0; y < modules.size(); ++y) {
        for (std::size_t x = 0; x < modules.size();) {
            std::size_t end = x;
            while (end < modules.size() && modules[y][end]) {
                ++end;
            }
            if (end > x) {
                svg += "M" + std::to_string(x + qrQuietModules) + " " +
                       std::to_string(y + qrQuietModules) + "h" + std::to_string(end - x) + "v1h-" +
                       std::to_string(end - x) + "z";
            }
            x = end + 1;
        }
    }
    return svg + "\"/></svg>\n";
}
