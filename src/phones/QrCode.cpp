#include "phones/PhoneInvite.hpp"

#include <qrcodegen.hpp>

#include <algorithm>
#include <cctype>

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
