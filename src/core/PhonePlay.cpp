#include "core/Game.hpp"
#include "core/TurnRules.hpp"
#include "phones/PlayerName.hpp"

#include <SFML/System/String.hpp>

#include <array>
#include <cstdio>

namespace {
/// Each invitation is shown this long before the next address takes its turn.
const sf::Time inviteTurn = sf::seconds(8.f);

std::string colourCode(sf::Color colour) {
    std::array<char, 8> code{};
    std::snprintf(code.data(), code.size(), "#%02x%02x%02x", colour.r, colour.g, colour.b);
    return code.data();
}
} // namespace

void Game::takePhoneArrivals() {
    // More only once these are answered: what waits beyond them waits in the server, whose
    // inbox is bounded, so that a flood cannot grow the game's memory.
    if (options.phones != nullptr && pendingArrivals.empty()) {
        for (PhoneArrival& arrival : options.phones->takeArrivals()) {
            pendingArrivals.push_back(std::move(arrival));
        }
    }
}

void Game::handleArrival(const PhoneArrival& arrival) {
    switch (arrival.kind) {
    case PhoneArrival::Kind::connected: phoneSeats[arrival.phone] = -1; break;
    case PhoneArrival::Kind::disconnected: {
        const auto known = phoneSeats.find(arrival.phone);
        if (known != phoneSeats.end() && known->second >= 0) {
            // The seat waits for its phone to come back with the secret.
            seats[known->second].phone = 0;
            players[known->second].setAway(true);
        }
        phoneSeats.erase(arrival.phone);
        break;
    }
    case PhoneArrival::Kind::request:
        if (!handlePhoneRequest(arrival.phone, arrival.request)) {
            return;
        }
        saveGame();
        break;
    }
    tellPhones();
}

bool Game::handlePhoneRequest(PhoneId phone, const PhoneRequest& request) {
    const auto known = phoneSeats.find(phone);
    if (known == phoneSeats.end()) {
        return false;
    }
    const int seat = known->second;
    bool done = false;
    const auto refuse = [&](std::string_view code, std::string_view message) {
        options.phones->send(phone, errorReply(code, message));
    };
    const bool seated = seat >= 0;
    if (seated != (request.ask == PhoneAsk::roll || request.ask == PhoneAsk::leave ||
                   request.ask == PhoneAsk::newRound)) {
        refuse("seat", seated ? "This phone already plays a seat." : "Join the game first.");
        return false;
    }

    switch (request.ask) {
    case PhoneAsk::join: {
        const NameCheck name = checkedName(request.name);
        if (!name.problem.empty()) {
            refuse("name", name.problem);
        } else if (playerCount >= maxPlayers) {
            refuse("full", "The game is full: nine players.");
        } else {
            addPlayer();
            players.back().setName(name.name);
            fitPlayer(players.back());
            seats[playerCount - 1].secret = randomSecret();
            seatPhone(phone, playerCount - 1);
            done = true;
        }
        break;
    }
    case PhoneAsk::take: {
        const NameCheck name = request.name.empty() ? NameCheck{} : checkedName(request.name);
        if (request.seat >= playerCount || !seats[request.seat].secret.empty()) {
            refuse("seat", "That seat is not free.");
        } else if (!name.problem.empty()) {
            refuse("name", name.problem);
        } else {
            if (!name.name.empty()) {
                players[request.seat].setName(name.name);
                fitPlayer(players[request.seat]);
            }
            seats[request.seat].secret = randomSecret();
            seatPhone(phone, request.seat);
            done = true;
        }
        break;
    }
    case PhoneAsk::resume:
        if (request.seat >= playerCount || seats[request.seat].secret != request.secret) {
            refuse("secret", "That seat is no longer yours.");
        } else {
            // The same seat from a new socket: the old one, if it still lingers, lets go.
            const PhoneId before = seats[request.seat].phone;
            if (before != 0 && before != phone) {
                options.phones->send(before, unseatedMessage("taken"));
                phoneSeats[before] = -1;
            }
            seatPhone(phone, request.seat);
            done = true;
        }
        break;
    case PhoneAsk::roll:
        if (playerCount == 0 || !turnsGoOn() || whoWouldRoll(players, currentPlayer) != seat) {
            refuse("turn", "It is not your turn.");
        } else {
            playTurn();
            done = true;
        }
        break;
    case PhoneAsk::leave:
        releaseSeat(seat, "left");
        done = true;
        break;
    case PhoneAsk::newRound:
        if (turnsGoOn()) {
            refuse("round", "The round is not over yet.");
        } else {
            newRound();
            done = true;
        }
        break;
    case PhoneAsk::ping: break;
    }
    return done;
}

void Game::seatPhone(PhoneId phone, int seat) {
    seats[seat].phone = phone;
    phoneSeats[phone] = seat;
    players[seat].setAway(false);
    options.phones->send(phone, seatedMessage(seat, seats[seat].secret));
}

void Game::releaseSeat(int seat, std::string_view reason) {
    const PhoneId phone = seats[seat].phone;
    if (phone != 0) {
        options.phones->send(phone, unseatedMessage(reason));
        phoneSeats[phone] = -1;
    }
    seats[seat] = PhoneSeat{};
    if (seat < playerCount) {
        players[seat].setAway(false);
    }
}

SeatView Game::seatView(int seat) const {
    const Player& player = players[seat];
    return {seat, player.name, colourCode(slotColour(seat)), !seats[seat].secret.empty()};
}

void Game::tellPhones() {
    if (options.phones == nullptr) {
        return;
    }
    std::vector<SeatView> all;
    all.reserve(static_cast<std::size_t>(playerCount));
    for (int seat = 0; seat < playerCount; ++seat) {
        all.push_back(seatView(seat));
    }
    const std::string lobby = lobbyMessage(all, playerCount < maxPlayers);
    const int roller = playerCount != 0 ? whoWouldRoll(players, currentPlayer) : -1;
    for (const auto& [phone, seat] : phoneSeats) {
        if (seat < 0) {
            options.phones->send(phone, lobby);
            continue;
        }
        const Player& player = players[seat];
        PhoneView view;
        view.you = all[seat];
        if (roller >= 0) {
            view.turn = all[roller];
        }
        view.canRoll = roller == seat && turnsGoOn();
        view.rolling = diceState == rollingDie;
        // As the field gives it: the row may show it wrapped to fit.
        view.task = fieldTexts[player.taskField].text;
        view.field = player.position;
        view.wait = player.turnsToWait;
        view.finished = player.finished;
        view.over = !turnsGoOn();
        options.phones->send(phone, stateMessage(view));
    }
}

NameCheck Game::checkedName(const std::string& given) const {
    return checkName(given, [this](sf::Uint32 codePoint) {
        return glyphs != nullptr && glyphs->hasGlyph(codePoint);
    });
}

std::size_t Game::inviteShown() const {
    return static_cast<std::size_t>(sinceStart.getElapsedTime() / inviteTurn);
}
