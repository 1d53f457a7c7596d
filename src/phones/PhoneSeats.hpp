#pragma once

#include "board/TextMeasure.hpp"
#include "phones/PhoneProtocol.hpp"
#include "phones/PhoneServer.hpp"
#include "phones/PlayerName.hpp"
#include "players/Standing.hpp"

#include <SFML/Graphics/Color.hpp>

#include <array>
#include <deque>
#include <locale>
#include <map>
#include <optional>
#include <string>
#include <vector>

/// One player as the phones are shown them.
struct TablePlayer {
    /// UTF-8; empty for a keyboard player.
    std::string name;
    sf::Color colour;
    Standing standing;
    /// The task of the row's field, as the field gives it (UTF-8, "\n" between lines).
    std::string task;
    /// What the token carries, UTF-8.
    std::string mark;
};

/// The game as the phones are shown it.
struct PhoneTable {
    /// In order of joining: a player's index is their seat.
    std::vector<TablePlayer> players;
    /// Who rolls when the next turn is played; -1 without players.
    int roller = -1;
    /// The die is rolling.
    bool rolling = false;
    /// The round is over and turns wait for another.
    bool over = false;
};

/// What a phone asks of the game, once the seat table has found that it may.
struct PhoneCall {
    enum class Kind {
        /// Answered without the game.
        none,
        /// A new player joins, with the name given; their seat is the next free one.
        join,
        /// A phone took the seat, or came back to it; renamed where a name is given.
        take,
        /// The seat's phone is away (locked, out of the Wi-Fi): it may come back.
        away,
        /// The seat's phone left it to the keyboard.
        leave,
        /// The seat's player rolls: it is their turn.
        roll,
        /// The round is over, and another starts.
        newRound,
    };
    Kind kind = Kind::none;
    int seat = -1;
    std::string name;
};

/// Which phone plays which seat: the phones connected, each seat's phone and the secret it
/// proves the seat is its own with, away and back, and every reply and refusal. The game tells
/// it how the game stands after each change, and takes from it what the phones ask, one call
/// at a time.
class PhoneSeats {
public:
    /// `link` outlives the table; a name must be one the font at `fontPath` draws.
    /// Answers the phones in the language given.
    PhoneSeats(PhoneLink& link, const std::string& fontPath, const std::locale& language);

    /// Handles the oldest of what the phones sent and says what the game must do for it;
    /// nothing when nothing has arrived.
    std::optional<PhoneCall> takeCall();

    /// Tells every phone how the game stands; called after every change. The seats past the
    /// last player (one removed at the keyboard) let their phones go.
    void show(const PhoneTable& table);

    /// Tells every phone that the seat's roll has begun, which holds the game up for seconds.
    void rollStarts(int seat);

    /// The seat's secret, for a saved game; empty while no phone has taken it.
    const std::string& secret(int seat) const;

    /// Takes back a saved game's seats by their secrets: each phone that played one may come
    /// back to it.
    void restore(const std::vector<std::string>& secrets);

private:
    struct Seat {
        /// The phone that plays it; 0 for none, also while it is away.
        PhoneId phone = 0;
        /// Empty while no phone has the seat.
        std::string secret;
    };

    PhoneCall answer(PhoneId phone, const PhoneRequest& request);
    PhoneCall join(PhoneId phone, const std::string& givenName);
    PhoneCall take(PhoneId phone, const PhoneRequest& request);
    PhoneCall comeBack(PhoneId phone, const PhoneRequest& request);
    PhoneCall roll(PhoneId phone, int seat);
    PhoneCall refuse(PhoneId phone, std::string_view code, std::string_view message);
    PhoneCall seatPhone(PhoneId phone, int seat, PhoneCall::Kind kind, std::string name = {});
    void release(int seat, std::string_view reason);
    void tellAll();
    NameCheck checkedName(const std::string& given) const;
    int playerCount() const;

    PhoneLink& link;
    TextMeasure glyphs;
    std::locale words;
    /// What the phones sent and the game has yet to answer, oldest first.
    std::deque<PhoneArrival> pending;
    std::array<Seat, maxPlayers> seats;
    /// Every phone connected, with its seat, or -1 while it has none.
    std::map<PhoneId, int> phoneSeats;
    /// The game as it was last shown.
    PhoneTable shown;
};
