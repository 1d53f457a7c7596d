#include "phones/PhoneInvite.hpp"

#include "board/TextEncoding.hpp"

#include <boost/locale/message.hpp>

#include <SFML/Graphics/RenderTarget.hpp>

namespace {
const float margin = 4.f;
const float textGap = 24.f;
// The lobby: its heading above the code, the link below it, and who has joined in a column
// beside the code.
const float lobbyCodeLeft = 40.f;
const float lobbyCodeTop = 100.f;
const float lobbyCodeRoom = 580.f;
const float lobbyLineHeight = 56.f;
const float joinedGap = 24.f;
const float joinedHeight = 62.f;
const float joinedSwatch = 36.f;

// The side of a code of whole-pixel modules, quiet zone included, as large as fits `room`.
float codeSide(int modules, float room) {
    return static_cast<float>(modulePixels(modules, room) * (modules + 2 * qrQuietModules));
}

PhoneInvite::Code makeCode(const std::vector<std::vector<bool>>& modules, sf::Vector2f corner,
                           float side) {
    PhoneInvite::Code code;
    const int count = static_cast<int>(modules.size());
    const float pixel = side / static_cast<float>(count + 2 * qrQuietModules);
    code.quietZone.setSize({side, side});
    code.quietZone.setPosition(corner);
    code.quietZone.setFillColor(sf::Color::White);
    for (int y = 0; y < count; ++y) {
        for (int x = 0; x < count; ++x) {
            if (!modules[y][x]) {
                continue;
            }
            const sf::Vector2f at{corner.x + pixel * static_cast<float>(x + qrQuietModules),
                                  corner.y + pixel * static_cast<float>(y + qrQuietModules)};
            for (const sf::Vector2f offset : {sf::Vector2f(0, 0),
                                              {pixel, 0},
                                              {0, pixel},
                                              {pixel, 0},
                                              {pixel, pixel},
                                              {0, pixel}}) {
                code.modules.append(sf::Vertex(at + offset, sf::Color::Black));
            }
        }
    }
    return code;
}

void setText(sf::Text& text, const sf::Font& font, unsigned int size, const sf::String& said,
             sf::Vector2f at) {
    text.setFont(font);
    text.setCharacterSize(size);
    text.setFillColor(sf::Color::White);
    text.setString(said);
    text.setPosition(at);
}

// Centred across the lobby.
void centre(sf::Text& text) {
    text.setPosition(lobbyArea.left + (lobbyArea.width - text.getLocalBounds().width) / 2.f,
                     text.getPosition().y);
}

void draw(sf::RenderTarget& target, const PhoneInvite::Code& code) {
    target.draw(code.quietZone);
    target.draw(code.modules);
}
} // namespace

int modulePixels(int modules, float room) {
    return static_cast<int>(room) / (modules + 2 * qrQuietModules);
}

void PhoneInvite::build(const std::vector<std::string>& links, const sf::Font& font,
                        const std::locale& words) {
    const sf::FloatRect& area = inviteArea;
    invitations.clear();
    for (const std::string& link : links) {
        const auto modules = qrModules(link);
        const int count = static_cast<int>(modules.size());
        Invitation& invitation = invitations.emplace_back();
        // The link is the address and the key after it, too long for one line beside the code.
        const std::size_t keyStart = link.find('/', link.find("//") + 2) + 1;
        const sf::String address = link.substr(0, keyStart);
        const sf::String key = link.substr(keyStart);

        const float side = codeSide(count, area.height - 2 * margin);
        invitation.code =
            makeCode(modules, {area.left + margin, area.top + (area.height - side) / 2.f}, side);
        const float textLeft = area.left + margin + side + textGap;
        setText(invitation.address, font, inviteTextSize, address,
                {textLeft, area.top + area.height / 2.f - 44.f});
        setText(invitation.key, font, inviteTextSize, key,
                {textLeft, area.top + area.height / 2.f + 6.f});

        const float largeSide = codeSide(count, lobbyCodeRoom);
        invitation.largeCode = makeCode(
            modules, {lobbyArea.left + lobbyCodeLeft, lobbyArea.top + lobbyCodeTop}, largeSide);
        const float linkTop = lobbyArea.top + lobbyCodeTop + largeSide + 24.f;
        setText(invitation.largeAddress, font, lobbyTextSize, address, {0.f, linkTop});
        setText(invitation.largeKey, font, lobbyTextSize, key, {0.f, linkTop + lobbyLineHeight});
        centre(invitation.largeAddress);
        centre(invitation.largeKey);
    }
    setText(noNetwork, font, inviteTextSize,
            toDisplayString(boost::locale::translate(
                                "Phones need a network: connect this computer to the group's Wi-Fi")
                                .str(words)),
            {area.left + margin, area.top + area.height / 2.f - 20.f});

    lobbyPanel.setPosition(lobbyArea.left, lobbyArea.top);
    lobbyPanel.setSize({lobbyArea.width, lobbyArea.height});
    lobbyPanel.setFillColor(sf::Color::Black);
    setText(heading, font, lobbyTextSize,
            toDisplayString(
                boost::locale::translate("Scan the code with your phone to join").str(words)),
            {0.f, lobbyArea.top + 24.f});
    centre(heading);
}

void PhoneInvite::showJoined(const std::vector<JoinedPlayer>& players, const sf::Font& font) {
    joinedColours.clear();
    joinedNames.clear();
    for (std::size_t seat = 0; seat < players.size(); ++seat) {
        const sf::Vector2f at{lobbyArea.left + lobbyCodeLeft + lobbyCodeRoom + joinedGap,
                              lobbyArea.top + lobbyCodeTop +
                                  joinedHeight * static_cast<float>(seat)};
        sf::RectangleShape& swatch =
            joinedColours.emplace_back(sf::Vector2f(joinedSwatch, joinedSwatch));
        swatch.setPosition(at);
        swatch.setFillColor(players[seat].colour);
        if (!players[seat].name.empty()) {
            setText(joinedNames.emplace_back(), font, lobbyNameSize,
                    toDisplayString(players[seat].name), {at.x + joinedSwatch + 12.f, at.y});
        }
    }
}

void PhoneInvite::draw(sf::RenderTarget& target, std::size_t turn) const {
    if (invitations.empty()) {
        target.draw(noNetwork);
        return;
    }
    const Invitation& shown = invitations[turn % invitations.size()];
    ::draw(target, shown.code);
    target.draw(shown.address);
    target.draw(shown.key);
}

void PhoneInvite::drawLarge(sf::RenderTarget& target, std::size_t turn) const {
    if (invitations.empty()) {
        draw(target, turn);
        return;
    }
    target.draw(lobbyPanel);
    target.draw(heading);
    const Invitation& shown = invitations[turn % invitations.size()];
    ::draw(target, shown.largeCode);
    target.draw(shown.largeAddress);
    target.draw(shown.largeKey);
    for (const sf::RectangleShape& swatch : joinedColours) {
        target.draw(swatch);
    }
    for (const sf::Text& name : joinedNames) {
        target.draw(name);
    }
}

void PhoneInvite::forEachText(const std::function<void(sf::Text&, unsigned int)>& fit) {
    for (Invitation& invitation : invitations) {
        fit(invitation.address, inviteTextSize);
        fit(invitation.key, inviteTextSize);
        fit(invitation.largeAddress, lobbyTextSize);
        fit(invitation.largeKey, lobbyTextSize);
    }
    fit(noNetwork, inviteTextSize);
    fit(heading, lobbyTextSize);
    for (sf::Text& name : joinedNames) {
        fit(name, lobbyNameSize);
    }
}
