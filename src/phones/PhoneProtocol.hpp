#pragma once

#include <locale>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// What a phone asks of the game.
enum class PhoneAsk { join, take, resume, roll, leave, ping, newRound };

/// One message from a phone, read and checked for its form; whether the game can do what it
/// asks is the game's to say.
struct PhoneRequest {
    PhoneAsk ask = PhoneAsk::ping;
    /// join: the name given; take: the name given, or empty to keep the seat's. UTF-8 without
    /// control characters or bidirectional overrides, at most `longestPhoneMessage` bytes.
    std::string name;
    /// take and resume: the seat, a player's slot from 0 to 8.
    int seat = -1;
    /// resume: the seat's secret, 32 lower-case hexadecimal digits.
    std::string secret;
};

/// The longest message a phone may send, in bytes.
constexpr std::size_t longestPhoneMessage = 1024;

/// A message read: the request, or else the whole error message to answer with.
struct ReadMessage {
    std::optional<PhoneRequest> request;
    std::string errorReply;
};

/// Reads one text message from a phone. Only JSON objects of the known types with their own
/// fields are requests; anything else gets an error reply, in the language given, never an
/// exception.
ReadMessage readPhoneMessage(std::string_view text, const std::locale& words);

/// {"type":"error","code":CODE,"message":MESSAGE}: CODE for the page's script, MESSAGE for
/// the player.
std::string errorReply(std::string_view code, std::string_view message);

/// 128 random bits as 32 lower-case hexadecimal digits: the link's key, a seat's secret.
std::string randomSecret();

/// The answer to a ping.
std::string pongReply();

/// A seat as the phones see it.
struct SeatView {
    int seat = 0;
    std::string name;
    /// "#rrggbb".
    std::string colour;
    /// Whether a phone plays it (also one that is away and may come back).
    bool phone = false;
    /// What the seat's token carries on the TV, UTF-8.
    std::string mark;
};

/// What one seated phone is shown.
struct PhoneView {
    SeatView you;
    /// Whose turn it is; empty without players.
    std::optional<SeatView> turn;
    bool canRoll = false;
    bool rolling = false;
    /// The task of the player's field, UTF-8 with "\n" between lines.
    std::string task;
    int field = 0;
    int wait = 0;
    bool finished = false;
    /// Everyone has finished, and the TV shows the podium: the phone offers another round.
    bool over = false;
};

/// The messages the game sends, as JSON text.
std::string lobbyMessage(const std::vector<SeatView>& seats, bool free);
std::string seatedMessage(int seat, const std::string& secret);
std::string stateMessage(const PhoneView& view);
std::string rollingMessage(int seat);
std::string unseatedMessage(std::string_view reason);
