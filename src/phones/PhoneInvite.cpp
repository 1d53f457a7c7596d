#include "phones/PhoneInvite.hpp"

#include "board/TextEncoding.hpp"

#include <boost/locale/message.hpp>

#include <SFML/Graphics/RenderTarget.hpp>

namespace {
const sf::FloatRect& area = inviteArea;
const float margin = 4.f;
const int quietModules = 4;
const float textGap = 24.f;
} // namespace

int modulePixels(int modules, float room) {
    return static_cast<int>(room) / (modules + 2 * quietModules);
}

void PhoneInvite::build(const std::vector<std::string>& links, const sf::Font& font,
                        const std::locale& words) {
    invitations.clear();
    for (const std::string& link : links) {
        const auto modules = qrModules(link);
        const int count = static_cast<int>(modules.size());
        const auto pixel = static_cast<float>(modulePixels(count, area.height - 2 * margin));
        Invitation& invitation = invitations.emplace_back();
        const float side = pixel * static_cast<float>(count + 2 * quietModules);
        const sf::Vector2f corner{area.left + margin, area.top + (area.height - side) / 2.f};
        invitation.quietZone.setSize({side, side});
        invitation.quietZone.setPosition(corner);
        invitation.quietZone.setFillColor(sf::Color::White);
        for (int y = 0; y < count; ++y) {
            for (int x = 0; x < count; ++x) {
                if (!modules[y][x]) {
                    continue;
                }
                const sf::Vector2f at{corner.x + pixel * static_cast<float>(x + quietModules),
                                      corner.y + pixel * static_cast<float>(y + quietModules)};
                for (const sf::Vector2f offset : {sf::Vector2f(0, 0),
                                                  {pixel, 0},
                                                  {0, pixel},
                                                  {pixel, 0},
                                                  {pixel, pixel},
                                                  {0, pixel}}) {
                    invitation.code.append(sf::Vertex(at + offset, sf::Color::Black));
                }
            }
        }
        // The link is the address and the key after it, too long for one line beside the code.
        const std::size_t keyStart = link.find('/', link.find("//") + 2) + 1;
        const float textLeft = corner.x + side + textGap;
        for (sf::Text* line : {&invitation.address, &invitation.key}) {
            line->setFont(font);
            line->setCharacterSize(inviteTextSize);
            line->setFillColor(sf::Color::White);
        }
        invitation.address.setString(link.substr(0, keyStart));
        invitation.key.setString(link.substr(keyStart));
        invitation.address.setPosition(textLeft, area.top + area.height / 2.f - 44.f);
        invitation.key.setPosition(textLeft, area.top + area.height / 2.f + 6.f);
    }
    noNetwork.setFont(font);
    noNetwork.setCharacterSize(inviteTextSize);
    noNetwork.setFillColor(sf::Color::White);
    noNetwork.setString(
        toDisplayString(boost::locale::translate(
                            "Phones need a network: connect this computer to the group's Wi-Fi")
                            .str(words)));
    noNetwork.setPosition(area.left + margin, area.top + area.height / 2.f - 20.f);
}

void PhoneInvite::draw(sf::RenderTarget& target, std::size_t turn) const {
    if (invitations.empty()) {
        target.draw(noNetwork);
        return;
    }
    const Invitation& shown = invitations[turn % invitations.size()];
    target.draw(shown.quietZone);
    target.draw(shown.code);
    target.draw(shown.address);
    target.draw(shown.key);
}
