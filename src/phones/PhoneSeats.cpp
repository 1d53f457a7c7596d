#include "phones/PhoneSeats.hpp"

#include <boost/locale/message.hpp>

#include <array>
#include <cstdio>

namespace {
using boost::locale::translate;

std::string colourCode(sf::Color colour) {
    std::array<char, 8> code{};
    std::snprintf(code.data(), code.size(), "#%02x%02x%02x", colour.r, colour.g, colour.b);
    return code.data();
}

bool needsSeat(PhoneAsk ask) {
    return ask == PhoneAsk::roll || ask == PhoneAsk::leave || ask == PhoneAsk::newRound;
}
} // namespace

PhoneSeats::PhoneSeats(PhoneLink& phoneLink, const std::string& fontPath,
                       const std::locale& language)
    : link(phoneLink), glyphs(fontPath), words(language) {}

std::optional<PhoneCall> PhoneSeats::takeCall() {
    // More only once these are answered: what waits beyond them waits in the server, whose
    // inbox is bounded, so that a flood cannot grow the game's memory.
    if (pending.empty()) {
        for (PhoneArrival& arrival : link.takeArrivals()) {
            pending.push_back(std::move(arrival));
        }
    }
    if (pending.empty()) {
        return std::nullopt;
    }
    const PhoneArrival arrival = std::move(pending.front());
    pending.pop_front();

    PhoneCall call;
    switch (arrival.kind) {
    case PhoneArrival::Kind::connected: phoneSeats[arrival.phone] = -1; break;
    case PhoneArrival::Kind::disconnected: {
        const auto known = phoneSeats.find(arrival.phone);
        if (known != phoneSeats.end() && known->second >= 0) {
            // The seat waits for its phone to come back with the secret.
            seats[static_cast<std::size_t>(known->second)].phone = 0;
            call = {PhoneCall::Kind::away, known->second, {}};
        }
        phoneSeats.erase(arrival.phone);
        break;
    }
    case PhoneArrival::Kind::request: return answer(arrival.phone, arrival.request);
    }
    tellAll();
    return call;
}

PhoneCall PhoneSeats::answer(PhoneId phone, const PhoneRequest& request) {
    const auto known = phoneSeats.find(phone);
    if (known == phoneSeats.end()) {
        return {};
    }
    const int seat = known->second;
    if ((seat >= 0) != needsSeat(request.ask)) {
        return refuse(phone, "seat",
                      seat >= 0 ? translate("This phone already plays a seat.").str(words)
                                : translate("Join the game first.").str(words));
    }
    switch (request.ask) {
    case PhoneAsk::join: return join(phone, request.name);
    case PhoneAsk::take: return take(phone, request);
    case PhoneAsk::resume: return comeBack(phone, request);
    case PhoneAsk::roll: return roll(phone, seat);
    case PhoneAsk::leave: release(seat, "left"); return {PhoneCall::Kind::leave, seat, {}};
    case PhoneAsk::newRound:
        if (!shown.over) {
            return refuse(phone, "round", translate("The round is not over yet.").str(words));
        }
        return {PhoneCall::Kind::newRound, seat, {}};
    case PhoneAsk::ping: break;
    }
    return {};
}

PhoneCall PhoneSeats::join(PhoneId phone, const std::string& givenName) {
    const NameCheck name = checkedName(givenName);
    if (!name.problem.empty()) {
        return refuse(phone, "name", name.problem);
    }
    if (playerCount() >= maxPlayers) {
        return refuse(phone, "full", translate("The game is full: nine players.").str(words));
    }
    // The game adds the player into this seat at once, before it shows the table again.
    return seatPhone(phone, playerCount(), PhoneCall::Kind::join, name.name);
}

PhoneCall PhoneSeats::take(PhoneId phone, const PhoneRequest& request) {
    const NameCheck name = request.name.empty() ? NameCheck{} : checkedName(request.name);
    if (request.seat >= playerCount() ||
        !seats[static_cast<std::size_t>(request.seat)].secret.empty()) {
        return refuse(phone, "seat", translate("That seat is not free.").str(words));
    }
    if (!name.problem.empty()) {
        return refuse(phone, "name", name.problem);
    }
    return seatPhone(phone, request.seat, PhoneCall::Kind::take, name.name);
}

PhoneCall PhoneSeats::comeBack(PhoneId phone, const PhoneRequest& request) {
    if (request.seat >= playerCount() ||
        seats[static_cast<std::size_t>(request.seat)].secret != request.secret) {
        return refuse(phone, "secret", translate("That seat is no longer yours.").str(words));
    }
    // The same seat from a new socket: the old one, if it still lingers, lets go.
    const PhoneId before = seats[static_cast<std::size_t>(request.seat)].phone;
    if (before != 0 && before != phone) {
        link.send(before, unseatedMessage("taken"));
        phoneSeats[before] = -1;
    }
    return seatPhone(phone, request.seat, PhoneCall::Kind::take);
}

PhoneCall PhoneSeats::roll(PhoneId phone, int seat) {
    if (shown.over || shown.roller != seat) {
        return refuse(phone, "turn", translate("It is not your turn.").str(words));
    }
    return {PhoneCall::Kind::roll, seat, {}};
}

PhoneCall PhoneSeats::refuse(PhoneId phone, std::string_view code, std::string_view message) {
    link.send(phone, errorReply(code, message));
    return {};
}

PhoneCall PhoneSeats::seatPhone(PhoneId phone, int seat, PhoneCall::Kind kind, std::string name) {
    Seat& taken = seats[static_cast<std::size_t>(seat)];
    // A phone coming back keeps the seat's secret; a seat that had none gets its own.
    if (taken.secret.empty()) {
        taken.secret = randomSecret();
    }
    taken.phone = phone;
    phoneSeats[phone] = seat;
    link.send(phone, seatedMessage(seat, taken.secret));
    return {kind, seat, std::move(name)};
}

void PhoneSeats::release(int seat, std::string_view reason) {
    Seat& released = seats[static_cast<std::size_t>(seat)];
    if (released.phone != 0) {
        link.send(released.phone, unseatedMessage(reason));
        phoneSeats[released.phone] = -1;
    }
    released = Seat{};
}

void PhoneSeats::show(const PhoneTable& table) {
    for (int seat = static_cast<int>(table.players.size()); seat < maxPlayers; ++seat) {
        release(seat, "removed");
    }
    shown = table;
    tellAll();
}

void PhoneSeats::rollStarts(int seat) {
    for (const auto& [phone, itsSeat] : phoneSeats) {
        link.send(phone, rollingMessage(seat));
    }
}

void PhoneSeats::tellAll() {
    std::vector<SeatView> all;
    for (std::size_t seat = 0; seat < shown.players.size(); ++seat) {
        const TablePlayer& player = shown.players[seat];
        all.push_back({static_cast<int>(seat), player.name, colourCode(player.colour),
                       !seats[seat].secret.empty(), player.mark});
    }
    const std::string lobby = lobbyMessage(all, playerCount() < maxPlayers);
    for (const auto& [phone, seat] : phoneSeats) {
        if (seat < 0 || seat >= playerCount()) {
            link.send(phone, lobby);
            continue;
        }
        const Standing& standing = shown.players[static_cast<std::size_t>(seat)].standing;
        PhoneView view;
        view.you = all[static_cast<std::size_t>(seat)];
        if (shown.roller >= 0) {
            view.turn = all[static_cast<std::size_t>(shown.roller)];
        }
        view.canRoll = shown.roller == seat && !shown.over;
        view.rolling = shown.rolling;
        // As the field gives it: the row may show it wrapped to fit.
        view.task = shown.players[static_cast<std::size_t>(seat)].task;
        view.field = standing.field;
        view.wait = standing.turnsToWait;
        view.finished = standing.finished;
        view.over = shown.over;
        link.send(phone, stateMessage(view));
    }
}

const std::string& PhoneSeats::secret(int seat) const {
    return seats[static_cast<std::size_t>(seat)].secret;
}

void PhoneSeats::restore(const std::vector<std::string>& secrets) {
    for (std::size_t seat = 0; seat < secrets.size() && seat < seats.size(); ++seat) {
        seats[seat] = {0, secrets[seat]};
    }
}

NameCheck PhoneSeats::checkedName(const std::string& given) const {
    return checkName(
        given, [this](sf::Uint32 codePoint) { return glyphs.hasGlyph(codePoint); }, words);
}

int PhoneSeats::playerCount() const {
    return static_cast<int>(shown.players.size());
}
