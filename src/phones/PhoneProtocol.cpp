#include "phones/PhoneProtocol.hpp"

#include "language/Phrase.hpp"
#include "players/Standing.hpp"

#include <boost/locale/message.hpp>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstdio>
#include <initializer_list>
#include <random>

using nlohmann::json;

namespace {
namespace locale = boost::locale;

constexpr std::size_t secretDigits = 32;

struct MessageType {
    std::string_view type;
    PhoneAsk ask;
    /// The fields it must have besides its type, and those it may have.
    std::initializer_list<std::string_view> required;
    std::initializer_list<std::string_view> optional;
};

const std::array<MessageType, 7> messageTypes{{
    {"join", PhoneAsk::join, {"name"}, {}},
    {"take", PhoneAsk::take, {"seat"}, {"name"}},
    {"resume", PhoneAsk::resume, {"seat", "secret"}, {}},
    {"roll", PhoneAsk::roll, {}, {}},
    {"leave", PhoneAsk::leave, {}, {}},
    {"ping", PhoneAsk::ping, {}, {}},
    {"round", PhoneAsk::newRound, {}, {}},
}};

bool contains(std::initializer_list<std::string_view> names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The name's bytes are checked here, before the game sees them; whether the font can draw
// them is the game's to say. The parser has already refused invalid UTF-8.
bool harmlessText(const std::string& text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x20 || byte == 0x7f) {
            return false;
        }
        // C1 controls (U+0080 to U+009F) are C2 80 to C2 9F; the bidirectional overrides,
        // embeddings, isolates and marks are U+200E, U+200F, U+202A to U+202E and U+2066 to
        // U+2069 (E2 80 8E/8F/AA-AE, E2 81 A6-A9); U+061C is D8 9C.
        const auto next = at + 1 < text.size() ? static_cast<unsigned char>(text[at + 1]) : 0;
        const auto third = at + 2 < text.size() ? static_cast<unsigned char>(text[at + 2]) : 0;
        if ((byte == 0xc2 && next >= 0x80 && next <= 0x9f) || (byte == 0xd8 && next == 0x9c) ||
            (byte == 0xe2 && next == 0x80 &&
             (third == 0x8e || third == 0x8f || (third >= 0xaa && third <= 0xae))) ||
            (byte == 0xe2 && next == 0x81 && third >= 0xa6 && third <= 0xa9)) {
            return false;
        }
    }
    return true;
}

bool isSecret(const std::string& text) {
    return text.size() == secretDigits && std::all_of(text.begin(), text.end(), [](char digit) {
               return (digit >= '0' && digit <= '9') || (digit >= 'a' && digit <= 'f');
           });
}

ReadMessage refused(std::string_view code, std::string_view message) {
    return {std::nullopt, errorReply(code, message)};
}

// A field of the right type and range, or the reason it is not.
std::string readField(const std::string& name, const json& value, PhoneRequest& request,
                      const std::locale& words) {
    if (name == "seat") {
        if (!value.is_number_integer() || value.get<long long>() < 0 ||
            value.get<long long>() >= maxPlayers) {
            return locale::translate("seat must be a whole number from 0 to 8").str(words);
        }
        request.seat = value.get<int>();
    } else if (name == "name") {
        if (!value.is_string() || !harmlessText(value.get<std::string>())) {
            return locale::translate(
                       "name must be a string without control or direction characters")
                .str(words);
        }
        request.name = value.get<std::string>();
    } else if (name == "secret") {
        if (!value.is_string() || !isSecret(value.get<std::string>())) {
            return locale::translate("secret must be 32 lower-case hexadecimal digits").str(words);
        }
        request.secret = value.get<std::string>();
    }
    return {};
}
} // namespace

ReadMessage readPhoneMessage(std::string_view text, const std::locale& words) {
    if (text.size() > longestPhoneMessage) {
        return refused("field",
                       locale::translate("the message is longer than 1024 bytes").str(words));
    }
    const json message = json::parse(text, nullptr, false);
    if (message.is_discarded() || !message.is_object()) {
        return refused("json", locale::translate("a message is one JSON object").str(words));
    }
    const auto type = message.find("type");
    if (type == message.end() || !type->is_string()) {
        return refused("type", locale::translate("a message needs a type").str(words));
    }
    const auto* const known =
        std::find_if(messageTypes.begin(), messageTypes.end(),
                     [&](const MessageType& candidate) { return candidate.type == *type; });
    if (known == messageTypes.end()) {
        return refused("type", phrase(words, locale::translate("unknown type: {1}"),
                                      type->get<std::string>()));
    }

    PhoneRequest request;
    request.ask = known->ask;
    for (const std::string_view required : known->required) {
        if (!message.contains(required)) {
            return refused("field", phrase(words, locale::translate("{1} needs {2}"),
                                           std::string(known->type), std::string(required)));
        }
    }
    for (const auto& [name, value] : message.items()) {
        if (name == "type") {
            continue;
        }
        if (!contains(known->required, name) && !contains(known->optional, name)) {
            return refused("field", phrase(words, locale::translate("{1} has no field {2}"),
                                           std::string(known->type), name));
        }
        const std::string problem = readField(name, value, request, words);
        if (!problem.empty()) {
            return refused("field", problem);
        }
    }
    return {request, {}};
}

std::string errorReply(std::string_view code, std::string_view message) {
    return json{{"type", "error"}, {"code", code}, {"message", message}}.dump(
        -1, ' ', false, json::error_handler_t::replace);
}

std::string randomSecret() {
    std::random_device source;
    std::string secret;
    for (int word = 0; word < 4; ++word) {
        std::array<char, 9> digits{};
        std::snprintf(digits.data(), digits.size(), "%08x", static_cast<unsigned int>(source()));
        secret += digits.data();
    }
    return secret;
}

std::string pongReply() {
    return R"({"type":"pong"})";
}

namespace {
json seatJson(const SeatView& seat) {
    return {{"seat", seat.seat},
            {"name", seat.name},
            {"colour", seat.colour},
            {"phone", seat.phone},
            {"mark", seat.mark}};
}

std::string text(const json& message) {
    return message.dump(-1, ' ', false, json::error_handler_t::replace);
}
} // namespace

std::string lobbyMessage(const std::vector<SeatView>& seats, bool free) {
    json list = json::array();
    for (const SeatView& seat : seats) {
        list.push_back(seatJson(seat));
    }
    return text({{"type", "lobby"}, {"free", free}, {"seats", list}});
}

std::string seatedMessage(int seat, const std::string& secret) {
    return text({{"type", "seated"}, {"seat", seat}, {"secret", secret}});
}

std::string stateMessage(const PhoneView& view) {
    json message = seatJson(view.you);
    message.erase("phone");
    message["type"] = "state";
    message["turn"] = view.turn ? seatJson(*view.turn) : json();
    message["canRoll"] = view.canRoll;
    message["rolling"] = view.rolling;
    message["task"] = view.task;
    message["field"] = view.field;
    message["wait"] = view.wait;
    message["finished"] = view.finished;
    message["over"] = view.over;
    return text(message);
}

std::string rollingMessage(int seat) {
    return text({{"type", "rolling"}, {"seat", seat}});
}

std::string unseatedMessage(std::string_view reason) {
    return text({{"type", "unseated"}, {"reason", reason}});
}
