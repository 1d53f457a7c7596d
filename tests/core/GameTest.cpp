#include "core/Game.hpp"
#include "board/Deck.hpp"
#include "board/TextEncoding.hpp"
#include "board/TextMeasure.hpp"
#include "core/DisplayCheck.hpp"
#include "core/TurnRules.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {
// SFML connects to the display for the textures of each game and lets go when the last is
// gone, and the tests' X server resets whenever its last client leaves: held, as the game
// holds it, for the whole run.
const DisplayConnection heldDisplay;

sf::Event keyPress(sf::Keyboard::Key key) {
    sf::Event event{};
    event.type = sf::Event::KeyPressed;
    event.key.code = key;
    return event;
}

/// A game without a window that never waits. Its die shows the values it is given, one per
/// roll (fair rolls if none are). It records the waits, one per die face shown (-1: no die),
/// and the cues played, each with the die face shown then (-1: no die); and it hands out the
/// events that arrive while a turn is played.
struct TestGame {
    explicit TestGame(std::vector<int> dieValues = {}, std::optional<FieldTexts> deck = {},
                      bool muted = false, PhoneLink* phones = nullptr, bool sofa = false)
        : values(std::move(dieValues)) {
        GameOptions options;
        options.phones = phones;
        options.sofaView = sofa;
        options.save = [this](const SavedGame& state) { saves.push_back(state); };
        options.muted = muted;
        options.openWindow = false;
        options.seed = 20261206u;
        options.fieldTexts = std::move(deck);
        options.sound = [this](Cue cue) { cues.emplace_back(cue, shownFace()); };
        options.sleep = [this](sf::Time slice) {
            slept += slice;
            longestSlice = std::max(longestSlice, slice);
            const int face = shownFace();
            if (waits.empty() || waits.back().second != face)
                waits.emplace_back(sf::Time::Zero, face);
            waits.back().first += slice;
        };
        // Each die frame takes drawTime to draw before it is shown.
        options.now = [this] { return slept + drawTime * static_cast<sf::Int64>(++framesShown); };
        options.pollEvent = [this](sf::Event& event) {
            if (arrivals.empty())
                return false;
            event = arrivals.front();
            arrivals.pop_front();
            return true;
        };
        // The face steps once per frame from 0, so value v shows after 29 + v frames.
        if (!values.empty())
            options.drawFrameCount = [this] { return 29 + values.at(next++); };
        game = std::make_unique<Game>(std::move(options));
    }

    int shownFace() const {
        return game->diceState == rollingDie ? game->diceSprite.getTextureRect().left : -1;
    }

    /// Adds a player for each field and puts it there, its token at rest; their blips are
    /// played and forgotten.
    void seat(const std::vector<int>& fields) {
        for (const int field : fields) {
            press(sf::Keyboard::Add);
            game->players.back().setField(field, game->fieldTexts[field].text);
            game->players.back().path.clear();
        }
        game->render();
        cues.clear();
    }

    void press(sf::Keyboard::Key key) const { game->handleEvent(keyPress(key)); }

    std::vector<int> values;
    std::size_t next = 0;
    std::vector<std::pair<sf::Time, int>> waits;
    std::vector<std::pair<Cue, int>> cues;
    sf::Time longestSlice;
    sf::Time slept;
    sf::Time drawTime;
    int framesShown = 0;
    std::deque<sf::Event> arrivals;
    std::vector<Cue> heard;
    std::vector<SavedGame> saves;
    std::unique_ptr<Game> game;
};
} // namespace

// One roll of a lone player: the die's frames, where the token ends, the task it is shown,
// the stops its token glides through (goal, field reached, jump target), the goal mark, and
// what the group hears once the die has gone; also when each die frame takes a while to draw,
// which comes out of its wait so that the turn lasts as long as it is meant to.
TEST(Turn, EachRollEndsWhereTheBoardSendsIt) {
    const Cue up = Cue::jumpForward, down = Cue::jumpBack;
    const struct {
        int from, value, to, taskField;
        std::vector<int> stops;
        std::vector<Cue> heard;
        bool finishedBefore, finishedAfter;
        int turnsToWait = 0;
    } cases[] = {
        {0, 1, 1, 1, {1}, {}, false, false},
        {50, 6, 56, 56, {56}, {}, false, false},
        {110, 6, 108, 108, {112, 108}, {}, false, false}, // bounce
        {111, 2, 111, 111, {112, 111, 111}, {}, false, false},
        {106, 6, 112, 112, {112}, {Cue::fanfare}, false, true},
        {111, 1, 112, 112, {112}, {}, true, false},
        {112, 3, 111, 111, {112, 109, 111}, {up}, true, true},
        {5, 6, 48, 11, {11, 48}, {up}, false, false},
        {42, 6, 11, 48, {48, 11}, {down}, false, false},
        {4, 6, 13, 13, {10, 13}, {up}, false, false},
        {8, 6, 11, 11, {14, 11}, {down}, false, false},
        {13, 6, 0, 0, {19, 0}, {down}, false, false},
        {7, 6, 37, 13, {13, 37}, {up}, false, false},
        {31, 6, 13, 37, {37, 13}, {down}, false, false},
        {62, 6, 93, 68, {68, 93}, {up}, false, false},
        {87, 6, 68, 93, {93, 68}, {down}, false, false},
        {69, 6, 98, 75, {75, 98}, {up}, false, false},
        {92, 6, 75, 98, {98, 75}, {down}, false, false},
        {100, 6, 105, 105, {106, 105}, {down}, false, false},
        {103, 6, 111, 111, {109, 111}, {up}, false, false},
        {60, 6, 66, 66, {66}, {Cue::sitOut}, false, false, 2},
    };
    for (const int drawMs : {0, 4, 20})
        for (const auto& c : cases) {
            TestGame test({c.value});
            test.drawTime = sf::milliseconds(drawMs);
            Game& game = *test.game;
            test.seat({c.from});
            game.players[0].finished = c.finishedBefore;
            test.press(sf::Keyboard::W);

            // Each frame of the die shows the next face and waits 7 ms longer than the one before;
            // the last stays a second more. Waits come in slices, so that events are read between.
            SCOPED_TRACE(std::to_string(c.from) + " + " + std::to_string(c.value) + ", drawn in " +
                         std::to_string(drawMs) + " ms");
            const int frames = 29 + c.value;
            sf::Time designed = sf::seconds(1);
            for (int k = 0; k < frames; ++k)
                designed += sf::milliseconds(7 * k);
            EXPECT_EQ(test.slept + test.drawTime * static_cast<sf::Int64>(frames - 1), designed);
            // A frame drawn later than its wait is made up for by the waits after it.
            if (drawMs <= 7) {
                ASSERT_EQ(test.waits.size(), static_cast<std::size_t>(frames));
                for (int k = 0; k < frames; ++k) {
                    const sf::Time wait = sf::milliseconds(k == 0 ? 0 : 7 * k - drawMs) +
                                          sf::seconds(k == frames - 1 ? 1 : 0);
                    EXPECT_EQ(test.waits[k], std::make_pair(wait, 9 * ((k + 1) % 6))) << k;
                }
            }
            EXPECT_LE(test.longestSlice, sf::milliseconds(10));
            EXPECT_EQ(game.diceState, idleDie);

            const Player& roller = game.players[0];
            EXPECT_EQ(roller.position, c.to);
            EXPECT_EQ(roller.taskText.getString(),
                      toDisplayString(game.fieldTexts[c.taskField].text));
            std::deque<sf::Vector2f> stops;
            for (const int stop : c.stops)
                stops.push_back(game.fields[stop].rect.getPosition() + sf::Vector2f(15, 15));
            EXPECT_EQ(roller.path, stops);
            EXPECT_EQ(roller.finished, c.finishedAfter);
            EXPECT_EQ(roller.turnsToWait, c.turnsToWait);

            // A click with each face, the last a knock; the rest with the first frame after.
            std::vector<std::pair<Cue, int>> heard;
            heard.reserve(static_cast<std::size_t>(frames) + c.heard.size());
            for (int k = 0; k < frames; ++k)
                heard.emplace_back(k == frames - 1 ? Cue::knock : Cue::rattle, 9 * ((k + 1) % 6));
            EXPECT_EQ(test.cues, heard);
            game.render();
            for (const Cue cue : c.heard)
                heard.emplace_back(cue, -1);
            EXPECT_EQ(test.cues, heard);
        }
}

// A cue is played once the frame that shows its cause is on the screen, and not while the
// sound is off: M turns it off at once, even in the middle of a roll, and on again with a
// blip; the game may start with it off.
TEST(Turn, CuesFollowTheirFramesAndMTurnsThemOffAndOn) {
    using K = sf::Keyboard;
    const Cue in = Cue::join, out = Cue::leave, tick = Cue::rattle;
    const struct {
        const char* what;
        bool startMuted;
        std::vector<K::Key> keys;
        std::vector<sf::Event> duringRoll;
        std::vector<Cue> heard;
    } cases[] = {
        {"join, leave", false, {K::Add, K::Add, K::Subtract}, {}, {in, in, out}},
        {"off", false, {K::M, K::Add, K::Subtract, K::W}, {}, {}},
        {"off, on", false, {K::M, K::Add, K::M, K::Subtract}, {}, {in, out}},
        {"started off", true, {K::Add, K::W}, {}, {}},
        {"started off, on", true, {K::Add, K::M}, {}, {in}},
        {"off during the roll", false, {K::Add, K::W}, {keyPress(K::M)}, {in, tick}},
    };
    for (const auto& c : cases) {
        TestGame test({6}, {}, c.startMuted);
        Game& game = *test.game;
        test.arrivals.assign(c.duringRoll.begin(), c.duringRoll.end());
        for (const K::Key key : c.keys) {
            test.press(key);
            if (key != K::W) {
                EXPECT_EQ(test.cues.size(), 0u) << c.what << ": played before its frame";
                game.render();
            }
            for (const auto& [cue, face] : test.cues)
                test.heard.push_back(cue);
            test.cues.clear();
        }
        game.render();
        for (const auto& [cue, face] : test.cues)
            test.heard.push_back(cue);
        EXPECT_EQ(test.heard, c.heard) << c.what;
    }
}

// Who rolls each turn, seen by the marker: waiting players sit their turns out, finished ones
// are passed over until everyone has finished.
TEST(Turn, TurnsGoRoundPassingOverWaitingAndFinishedPlayers) {
    const struct {
        std::vector<int> seats, finished, values, rollers, positions;
    } games[] = {
        {{60, 0, 0}, {}, {6, 1, 1, 1, 1, 1, 1, 1}, {0, 1, 2, 1, 2, 1, 2, 0}, {67, 3, 3}},
        {{112, 112, 5}, {0}, {1, 1}, {1, 2}, {112, 111, 6}},
        // With everyone finished the search gives up after twenty candidates.
        {{112, 112, 5}, {0, 1, 2}, {3}, {2}, {112, 112, 8}},
    };
    for (const auto& g : games) {
        TestGame test(g.values);
        Game& game = *test.game;
        test.seat(g.seats);
        for (const int finished : g.finished)
            game.players[finished].finished = true;
        for (const int roller : g.rollers) {
            std::vector<int> waits;
            for (const Player& player : game.players)
                waits.push_back(player.turnsToWait);
            EXPECT_EQ(whoWouldRoll(game.players, game.currentPlayer), roller);
            for (std::size_t at = 0; at < waits.size(); ++at)
                EXPECT_EQ(game.players[at].turnsToWait, waits[at]) << "asking spends no wait";
            test.press(sf::Keyboard::W);
            EXPECT_EQ(game.currentPlayerMarker.getPosition().y, 100.f * roller + 40.f);
            EXPECT_EQ(game.currentPlayer, (roller + 1) % game.playerCount);
        }
        std::vector<int> positions;
        for (const Player& player : game.players)
            positions.push_back(player.position);
        EXPECT_EQ(positions, g.positions);
    }
}

TEST(Turn, EventsDuringATurnWaitForItButEndingTheGameDoesNot) {
    TestGame test({1, 1, 1});
    Game& game = *test.game;
    test.seat({0});
    test.arrivals = {keyPress(sf::Keyboard::W), keyPress(sf::Keyboard::Add)};
    test.press(sf::Keyboard::W);
    // One per update, in the order they came: a second turn, then one player more. Rolls and
    // players after each update:
    const int afterEachUpdate[][2] = {{1, 1}, {2, 1}, {2, 2}, {2, 2}};
    for (const auto& [rolls, players] : afterEachUpdate) {
        EXPECT_EQ(test.next, static_cast<std::size_t>(rolls));
        EXPECT_EQ(game.playerCount, players);
        game.update();
    }

    test.arrivals = {keyPress(sf::Keyboard::Add), keyPress(sf::Keyboard::Escape),
                     keyPress(sf::Keyboard::W)};
    const int field = game.players[0].position;
    test.press(sf::Keyboard::W);
    EXPECT_FALSE(game.isOpen());
    EXPECT_EQ(game.players[0].position, field) << "the roll is abandoned";
    EXPECT_EQ(test.arrivals.size(), 1u) << "nothing is read after Escape";
    game.update();
    EXPECT_EQ(game.playerCount, 2) << "nor handled";
}

// Random play with the real die: the game's invariants hold after every event, and the die's
// faces come up equally often.
TEST(Turn, RandomPlayKeepsTheGameConsistentAndTheDieFair) {
    std::mt19937 random(4242u);
    TestGame test;
    Game& game = *test.game;
    const sf::Keyboard::Key keys[] = {sf::Keyboard::Add, sf::Keyboard::Add, sf::Keyboard::Subtract,
                                      sf::Keyboard::W,   sf::Keyboard::W,   sf::Keyboard::A};
    std::array<int, 6> faces{};
    for (int step = 0; step < 20000; ++step) {
        const sf::Keyboard::Key key = keys[std::uniform_int_distribution<int>(0, 5)(random)];
        const bool rolls = key == sf::Keyboard::W && game.playerCount > 0;
        test.press(key);
        game.render();
        if (rolls)
            ++faces.at(static_cast<std::size_t>(game.diceSprite.getTextureRect().left / 9));

        ASSERT_EQ(game.playerCount, static_cast<int>(game.players.size())) << "step " << step;
        ASSERT_LE(game.playerCount, 9);
        ASSERT_TRUE(game.currentPlayer == 0 || game.currentPlayer < game.playerCount);
        for (const Player& player : game.players) {
            ASSERT_TRUE(player.position >= 0 && player.position <= goalField) << "step " << step;
            ASSERT_TRUE(player.turnsToWait >= 0 && player.turnsToWait <= 2) << "step " << step;
        }
        ASSERT_EQ(game.diceState, idleDie);
    }
    const double rolls = faces[0] + faces[1] + faces[2] + faces[3] + faces[4] + faces[5];
    ASSERT_GT(rolls, 5000);
    for (const int count : faces)
        EXPECT_NEAR(count, rolls / 6, rolls / 60) << "of " << rolls << " rolls";
}

namespace {
/// Phones as the game sees them: what they ask is handed over, what it tells them is kept.
struct TestPhones final : PhoneLink {
    std::vector<PhoneArrival> takeArrivals() override { return std::exchange(arrivals, {}); }
    void send(PhoneId phone, std::string message) override {
        told[phone].push_back(nlohmann::json::parse(message));
    }

    /// Hands the game what PHONE does: "+" connect, "-" disconnect, or send the message; what
    /// the game tells the phones in answer is kept in told.
    void arrive(Game& game, PhoneId phone, const std::string& message) {
        told.clear();
        using Kind = PhoneArrival::Kind;
        const Kind kind = message == "+"   ? Kind::connected
                          : message == "-" ? Kind::disconnected
                                           : Kind::request;
        arrivals.push_back({kind, phone, {}});
        if (kind == Kind::request)
            arrivals.back().request = *readPhoneMessage(message).request;
        game.update();
    }

    std::vector<PhoneArrival> arrivals;
    std::map<PhoneId, std::vector<nlohmann::json>> told;
};
} // namespace

// Phones join, take seats, come back, roll on their own turn only and leave, each step given
// the answer a player expects; the game sees each as it sees keys.
TEST(Phones, EachPhonePlaysItsOwnSeat) {
    TestPhones phones;
    TestGame test({3, 2, 1}, {}, false, &phones);
    Game& game = *test.game;
    std::map<int, std::string> secrets;
    const struct {
        PhoneId phone;
        std::string message; // or "+" a connection, "-" its end, "key+" / "key-" numpad
        std::string answers; // all but lobbies and states, and others' rolling
        int players;
    } steps[] = {
        {1, "+", "", 0},
        {2, "+", "", 0},
        {1, R"({"type":"roll"})", "1 error seat", 0},
        {1, R"({"type":"join","name":"  Jörg "})", "1 seated 0", 1},
        {1, R"({"type":"join","name":"Jörg"})", "1 error seat", 1},
        {2, R"({"type":"join","name":"🍺"})", "2 error name", 1},
        {2, "key+", "", 2},
        {2, R"({"type":"take","seat":0})", "2 error seat", 2},
        {2, R"({"type":"take","seat":2})", "2 error seat", 2},
        {2, R"({"type":"take","seat":1,"name":"Anna"})", "2 seated 1", 2},
        {2, R"({"type":"roll"})", "2 error turn", 2},
        {1, R"({"type":"roll"})", "1 rolling 0", 2},
        {1, R"({"type":"roll"})", "1 error turn", 2},
        // A socket lost: the seat waits for the same phone on a new one.
        {2, "-", "", 2},
        {3, "+", "", 2},
        {3, R"({"type":"resume","seat":1,"secret":"00000000000000000000000000000000"})",
         "3 error secret", 2},
        {3, "resume", "3 seated 1", 2},
        {3, R"({"type":"roll"})", "3 rolling 1", 2},
        // Back on another page while the old socket still lingers: the old one lets go.
        {4, "+", "", 2},
        {4, "resume", "3 unseated taken, 4 seated 1", 2},
        {4, R"({"type":"leave"})", "4 unseated left", 2},
        {5, "+", "", 2},
        {5, R"({"type":"take","seat":1})", "5 seated 1", 2},
        {5, "key-", "5 unseated removed", 1},
        {1, R"({"type":"round"})", "1 error round", 1},
        {1, R"({"type":"roll"})", "1 rolling 0", 1},
    };
    for (const auto& step : steps) {
        const std::string& message = step.message;
        phones.told.clear();
        if (message == "key+" || message == "key-")
            test.press(message == "key+" ? sf::Keyboard::Add : sf::Keyboard::Subtract);
        else if (message == "resume")
            phones.arrive(game, step.phone,
                          R"({"type":"resume","seat":1,"secret":")" + secrets[1] + R"("})");
        else
            phones.arrive(game, step.phone, message);
        std::string answers;
        for (const auto& [phone, told] : phones.told)
            for (const nlohmann::json& said : told) {
                const std::string type = said["type"];
                if (type == "seated")
                    secrets[said["seat"].get<int>()] = said["secret"];
                if (type == "lobby" || type == "state" ||
                    (type == "rolling" && phone != step.phone))
                    continue;
                answers += (answers.empty() ? "" : ", ") + std::to_string(phone) + " " + type;
                for (const char* detail : {"code", "reason", "seat"})
                    if (said.contains(detail))
                        answers += " " + (said[detail].is_string() ? said[detail].get<std::string>()
                                                                   : said[detail].dump());
            }
        EXPECT_EQ(answers, step.answers) << step.phone << " " << message;
        EXPECT_EQ(game.playerCount, step.players) << step.phone << " " << message;
    }
    // The TV shows the phone's name in its row; the last roll's phone, its task, and that the
    // turn has gone round to it.
    EXPECT_EQ(game.players[0].nameText.getString(), toDisplayString("Jörg"));
    const nlohmann::json& shown = phones.told[1].back();
    EXPECT_EQ(shown["type"], "state");
    EXPECT_EQ(shown["name"], "Jörg");
    EXPECT_EQ(shown["field"], game.players[0].position);
    EXPECT_EQ(shown["task"], game.fieldTexts[game.players[0].position].text);
    EXPECT_EQ(shown["canRoll"], true);
    EXPECT_EQ(test.next, 3u) << "three rolls";

    // A phone away is marked on the TV: its name greys until it is back.
    phones.arrivals.push_back({PhoneArrival::Kind::disconnected, 1, {}});
    game.update();
    EXPECT_NE(game.players[0].nameText.getFillColor(), sf::Color::Black);
}

// A whole round in the sofa view, on fair rolls: the first home is celebrated on their card,
// every change is saved, the podium comes with the last player home, in the order they got
// there, and holds the turns; N then starts another round with the same players at START.
// Without the sofa view N does nothing.
TEST(Sofa, ARoundEndsOnThePodiumAndNStartsAnother) {
    TestGame plain;
    plain.seat({112});
    plain.game->players[0].finished = true;
    plain.press(sf::Keyboard::N);
    EXPECT_EQ(plain.game->players[0].position, 112);

    TestGame test({}, {}, false, nullptr, true);
    Game& game = *test.game;
    for (int join = 0; join < 3; ++join)
        test.press(sf::Keyboard::Add);
    std::vector<int> order;
    int turns = 0;
    for (; !roundOver(game.players) && turns < 3000; ++turns) {
        const int roller = whoWouldRoll(game.players, game.currentPlayer);
        const bool wasHome = game.players[roller].finished;
        test.press(sf::Keyboard::W);
        if (!wasHome && game.players[roller].finished) {
            order.push_back(roller);
            EXPECT_EQ(game.sofa().cardTexts().front().getString() == "First at the goal!",
                      order.size() == 1);
        }
        EXPECT_TRUE(game.sofa().cardShown());
        EXPECT_EQ(game.sofa().podiumShown(), roundOver(game.players)) << "turn " << turns;
    }
    ASSERT_TRUE(roundOver(game.players));
    EXPECT_EQ(game.finishingOrder(), order);
    ASSERT_EQ(test.saves.size(), static_cast<std::size_t>(3 + turns));
    EXPECT_EQ(test.saves.back().finishOrder, order);
    EXPECT_EQ(test.saves.back().cardPlayer, order.back());

    const std::string over = savedGameText(game.saved());
    test.press(sf::Keyboard::W);
    EXPECT_EQ(savedGameText(game.saved()), over) << "the podium holds the turns";
    test.press(sf::Keyboard::N);
    for (const Player& player : game.players) {
        EXPECT_EQ(player.position, 0);
        EXPECT_EQ(player.taskText.getString(), "START");
        EXPECT_FALSE(player.finished);
        EXPECT_EQ(player.turnsToWait, 0);
    }
    EXPECT_TRUE(game.finishingOrder().empty());
    EXPECT_FALSE(game.sofa().podiumShown() || game.sofa().cardShown());
    EXPECT_EQ(game.currentPlayer, 0);
}

// From three metres, on a 1080p TV and on a 4K one: every task of the board and of the
// English deck fits its row at any slot, with or without a name before it; on its card it is
// at least 32 layout pixels high, inside the TV's safe area, and leaves the field reached in
// sight.
TEST(Sofa, EveryTaskFitsItsRowAndReadsLargeOnItsCard) {
    const TextMeasure measure("assets/SmallMemory.ttf");
    std::vector<DeckProblem> problems;
    const auto find = [](const std::string& name) { return "decks/" + name + ".toml"; };
    const FieldTexts english = loadDeck("decks/english.toml", find, measure, problems);
    ASSERT_TRUE(problems.empty());
    TestGame test;
    const Game& game = *test.game;
    const auto words = [](const sf::String& text) {
        return wrapToWidth(text, 1e6f, [](const sf::String&) { return 0.f; });
    };
    const auto inside = [](const sf::FloatRect& inner, const sf::FloatRect& outer) {
        return inner.left >= outer.left && inner.top >= outer.top &&
               inner.left + inner.width <= outer.left + outer.width &&
               inner.top + inner.height <= outer.top + outer.height;
    };
    for (const sf::Vector2u size : {sf::Vector2u(1920, 1080), sf::Vector2u(3840, 2160)}) {
        const ScreenFit fit = fitToScreen(size);
        for (const FieldTexts* texts : {&game.fieldTexts, &english}) {
            for (int field = 0; field < fieldCount; ++field) {
                const sf::String task = toDisplayString((*texts)[field].text);
                const int slot = field % maxPlayers;
                Player player(game.font);
                player.setSlot(slot);
                player.setName(field % 2 ? "Wolfgang Amadeus" : "");
                player.setField(field, (*texts)[field].text);
                fitTaskToRow(player, task, fit);
                const sf::Text& row = player.taskText;
                EXPECT_TRUE(inside(row.getGlobalBounds(), {1100.f, slot * 100.f, 820.f, 90.f}))
                    << "field " << field << " at " << size.x;
                EXPECT_GE(row.getCharacterSize() / fit.scale.y, smallestRowTextSize - 0.5f);

                SofaView sofa;
                const sf::FloatRect square = game.fields[field].rect.getGlobalBounds();
                sofa.showCard(task, field % 2 ? "Wolfgang Amadeus" : "", slot, square,
                              field == goalField, game.font, fit);
                sf::String shown;
                for (const sf::Text& line : sofa.cardTexts()) {
                    EXPECT_GE(line.getCharacterSize(), 32.f * fit.scale.y) << field;
                    EXPECT_TRUE(inside(line.getGlobalBounds(), tvSafeArea)) << field;
                    EXPECT_FALSE(line.getGlobalBounds().intersects(square)) << field;
                    shown = line.getString();
                }
                EXPECT_EQ(words(shown), words(task)) << "every word, and only those: " << field;
            }
        }
    }
}

// A game left and resumed is the same game: rows, tokens at rest where they stood, waits,
// finishes, marker, card and the turn to come; and through the saved file's text too.
TEST(Sofa, AResumedGameIsTheGameThatWasSaved) {
    // One waits, one is home, and the turn to come passes over both.
    TestGame played({3, 6, 4, 5, 6, 2}, {}, false, nullptr, true);
    played.seat({60, 60, 108});
    for (int turn = 0; turn < 5; ++turn)
        played.press(sf::Keyboard::W);
    for (int frame = 0; frame < 200; ++frame)
        played.game->render();
    const SavedGameRead read = parseSavedGame(savedGameText(played.game->saved()), "game.toml");
    ASSERT_TRUE(read.game) << read.problem;

    ASSERT_EQ(read.game->players[1].turnsToWait, 1);
    TestGame resumed({2}, {}, false, nullptr, true);
    resumed.game->resume(*read.game);
    for (const TestGame* test : {&played, &resumed})
        test->press(sf::Keyboard::W);
    for (const TestGame* test : {&played, &resumed})
        for (int frame = 0; frame < 200; ++frame)
            test->game->render();
    // How it is drawn, the end-to-end test compares pixel for pixel; here, what it holds.
    const auto shown = [](const Game& game) {
        std::vector<std::string> all;
        for (const Player& player : game.players) {
            all.push_back(player.taskText.getString() + " " +
                          std::to_string(player.token.getPosition().x) + "," +
                          std::to_string(player.token.getPosition().y) + " r" +
                          std::to_string(player.token.getRadius()) + " " +
                          player.waitText.getString() + std::to_string(player.turnsToWait));
        }
        for (const sf::Text& line : game.sofa().cardTexts())
            all.push_back(line.getString());
        all.push_back(std::to_string(game.currentPlayerMarker.getPosition().y));
        return all;
    };
    EXPECT_EQ(shown(*resumed.game), shown(*played.game));
    EXPECT_EQ(savedGameText(resumed.game->saved()), savedGameText(played.game->saved()));
}

// A game with phones, left and resumed: its phones come back to their seats with their
// secrets, and once everyone is home a phone starts another round.
TEST(Sofa, PhonesComeBackToAResumedGameAndStartAnotherRound) {
    TestPhones before;
    TestGame left({}, {}, false, &before, true);
    before.arrive(*left.game, 1, "+");
    before.arrive(*left.game, 1, R"({"type":"join","name":"Anna"})");
    const std::string secret = before.told[1].front().at("secret");
    SavedGame saved = left.game->saved();
    ASSERT_EQ(saved.players.at(0).secret, secret);
    saved.players[0].field = saved.players[0].taskField = goalField;
    saved.players[0].finished = true;
    saved.finishOrder = {0};

    TestPhones after;
    TestGame resumed({}, {}, false, &after, true);
    resumed.game->resume(saved);
    EXPECT_TRUE(resumed.game->sofa().podiumShown());
    after.arrive(*resumed.game, 7, "+");
    after.arrive(*resumed.game, 7, R"({"type":"resume","seat":0,"secret":")" + secret + R"("})");
    EXPECT_EQ(after.told[7].front().at("type"), "seated");
    EXPECT_TRUE(after.told[7].back().at("over"));
    after.arrive(*resumed.game, 7, R"({"type":"round"})");
    EXPECT_EQ(resumed.game->players[0].position, 0);
    EXPECT_FALSE(resumed.game->sofa().podiumShown());
}
