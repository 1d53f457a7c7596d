#include "core/Game.hpp"
#include "board/Deck.hpp"
#include "board/TextEncoding.hpp"
#include "board/TextMeasure.hpp"
#include "core/DisplayCheck.hpp"
#include "core/LeakCheck.hpp"
#include "core/TurnRules.hpp"
#include "language/Language.hpp"
#include "support/Events.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {
// Held for the whole run, as the game holds it: the tests' X server resets whenever its last
// client leaves, and SFML lets go of it with the last game's textures.
const DisplayConnection heldDisplay{std::locale::classic()};
// Once every test has run, as the game does as it ends.
struct LeaksLookedForAtTheEnd final : testing::Environment {
    void TearDown() override { lookForLeaksNow(); }
};
[[maybe_unused]] testing::Environment* const leaksLookedFor =
    testing::AddGlobalTestEnvironment(new LeaksLookedForAtTheEnd);

/// A game without a window that never waits; its die shows the values given (fair rolls if none).
/// It records waits and cues with the die face shown then (-1: none), and feeds events to a turn.
struct TestGame {
    explicit TestGame(std::vector<int> dieValues = {}, bool sofa = false,
                      PhoneLink* phones = nullptr, bool muted = false)
        : values(std::move(dieValues)) {
        GameOptions options;
        options.phones = phones;
        options.sofaView = sofa;
        options.save = [this](const SavedGame& state) { saves.push_back(state); };
        options.muted = muted;
        options.openWindow = false;
        options.seed = 20261206u;
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
        return game->diceState == DieState::rolling ? game->diceSprite.getTextureRect().left : -1;
    }

    /// Adds a player on each field, its token at rest; their blips are played and forgotten.
    void seat(const std::vector<int>& fields) {
        for (const int field : fields) {
            press(sf::Keyboard::Add);
            game->players.back().setField(field, game->fieldTexts[field].text);
            game->players.back().path.clear();
        }
        game->render();
        cues.clear();
    }

    void press(sf::Keyboard::Key code) const { game->handleEvent(key(code)); }

    std::vector<int> values;
    std::size_t next = 0;
    std::vector<std::pair<sf::Time, int>> waits;
    std::vector<std::pair<Cue, int>> cues;
    sf::Time longestSlice;
    sf::Time slept;
    sf::Time drawTime;
    int framesShown = 0;
    std::deque<sf::Event> arrivals;
    std::vector<SavedGame> saves;
    std::unique_ptr<Game> game;
};
bool inside(const sf::FloatRect& inner, const sf::FloatRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top &&
           inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}
} // namespace

// One roll of a lone player as the game plays it out (where each roll ends is the rules' own test):
// the die's frames, the token's stops, its row's task, waits and goal mark, the cues after the die;
// a frame slow to draw comes out of its wait, so that the turn keeps its length.
TEST(Turn, EachRollEndsWhereTheBoardSendsIt) {
    const struct {
        int from, value, taskField;
        std::vector<int> stops;
        std::vector<Cue> heard;
        bool finishedBefore, finishedAfter;
        int turnsToWait = 0;
    } cases[] = {
        {110, 6, 108, {112, 108}, {}, false, false}, // bounce
        {106, 6, 112, {112}, {Cue::fanfare}, false, true},
        {111, 1, 112, {112}, {}, true, false},
        {5, 6, 11, {11, 48}, {Cue::jumpForward}, false, false},
        {100, 6, 105, {106, 105}, {Cue::jumpBack}, false, false},
        {60, 6, 66, {66}, {Cue::sitOut}, false, false, 2},
    };
    for (const int drawMs : {0, 4, 20})
        for (const auto& c : cases) {
            TestGame test({c.value});
            test.drawTime = sf::milliseconds(drawMs);
            Game& game = *test.game;
            test.seat({c.from});
            game.players[0].finished = c.finishedBefore;
            test.press(sf::Keyboard::W);
            SCOPED_TRACE(std::to_string(c.from) + " + " + std::to_string(c.value) + ", drawn in " +
                         std::to_string(drawMs) + " ms");

            // Each frame shows the next face with a click (the last, a knock), waiting 7 ms more
            // than the one before, the last a second more, in slices that let events in.
            const int frames = 29 + c.value;
            sf::Time designed = sf::seconds(1);
            std::vector<std::pair<Cue, int>> heard;
            for (int k = 0; k < frames; ++k) {
                designed += sf::milliseconds(7 * k);
                heard.emplace_back(k == frames - 1 ? Cue::knock : Cue::rattle, 9 * ((k + 1) % 6));
            }
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

            const Player& roller = game.players[0];
            EXPECT_EQ(roller.taskText.getString(),
                      toDisplayString(game.fieldTexts[c.taskField].text));
            std::deque<sf::Vector2f> stops;
            for (const int stop : c.stops)
                stops.push_back(game.fields[stop].rect.getPosition() + sf::Vector2f(15, 15));
            EXPECT_EQ(roller.path, stops);
            EXPECT_EQ(roller.finished, c.finishedAfter);
            EXPECT_EQ(roller.turnsToWait, c.turnsToWait);
            EXPECT_EQ(test.cues, heard);
            game.render();
            for (const Cue cue : c.heard)
                heard.emplace_back(cue, -1);
            EXPECT_EQ(test.cues, heard);
        }
}

// A cue is played once the frame that shows its cause is on the screen, never while the sound
// is off: M turns it off at once, even mid-roll, and on again; the game may start with it off.
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
        {"off, on", false, {K::M, K::Add, K::M, K::Subtract}, {}, {in, out}},
        {"started off, on", true, {K::Add, K::M}, {}, {in}},
        {"off during the roll", false, {K::Add, K::W}, {key(K::M)}, {in, tick}},
    };
    for (const auto& c : cases) {
        TestGame test({6}, false, nullptr, c.startMuted);
        test.arrivals.assign(c.duringRoll.begin(), c.duringRoll.end());
        for (const K::Key key : c.keys) {
            const std::size_t before = test.cues.size();
            test.press(key);
            if (key != K::W) {
                EXPECT_EQ(test.cues.size(), before) << c.what << ": played before its frame";
                test.game->render();
            }
        }
        std::vector<Cue> heard;
        for (const auto& [cue, face] : test.cues)
            heard.push_back(cue);
        EXPECT_EQ(heard, c.heard) << c.what;
    }
}

TEST(Turn, TheRealDieIsFair) {
    TestGame test;
    test.seat({0});
    std::vector<int> faces(6);
    for (int roll = 0; roll < 6000; ++roll) {
        test.press(sf::Keyboard::W);
        ++faces.at(static_cast<std::size_t>(test.game->diceSprite.getTextureRect().left / 9));
    }
    for (const int count : faces)
        EXPECT_NEAR(count, 1000, 100);
}

namespace {
/// Phones as the game sees them: what they ask is handed over, what it tells them is kept.
struct TestPhones final : PhoneLink {
    std::vector<PhoneArrival> takeArrivals() override { return std::exchange(arrivals, {}); }
    void send(PhoneId phone, std::string message) override {
        told[phone].push_back(nlohmann::json::parse(message));
    }

    /// Hands the game what PHONE does: "+" connect, "-" disconnect, or a message; keeps replies.
    void arrive(Game& game, PhoneId phone, const std::string& message) {
        told.clear();
        using Kind = PhoneArrival::Kind;
        const Kind kind = message == "+"   ? Kind::connected
                          : message == "-" ? Kind::disconnected
                                           : Kind::request;
        arrivals.push_back({kind, phone, {}});
        if (kind == Kind::request)
            arrivals.back().request = *readPhoneMessage(message, std::locale::classic()).request;
        game.update();
    }

    std::vector<PhoneArrival> arrivals;
    std::map<PhoneId, std::vector<nlohmann::json>> told;
};
} // namespace

// Phones join, take seats, come back, roll and leave, each answered as a player expects; the game
// sees each as it sees keys, and once left and resumed takes its phones back by their secrets.
TEST(Phones, EachPhonePlaysItsOwnSeat) {
    TestPhones phones;
    TestGame test({3, 2, 1}, false, &phones);
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
        {1, R"({"type":"roll"})", "1 rolling 0", 2},
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
    // The TV shows the phone's name in its row; the last roll's phone, its field and task.
    EXPECT_EQ(game.players[0].nameText.getString(), toDisplayString("Jörg"));
    const nlohmann::json& shown = phones.told[1].back();
    EXPECT_EQ(shown["field"], game.players[0].position);
    EXPECT_EQ(shown["task"], game.fieldTexts[game.players[0].position].text);
    EXPECT_EQ(test.next, 3u) << "three rolls";

    // A phone away is marked on the TV: its name greys until it is back.
    phones.arrive(game, 1, "-");
    EXPECT_NE(game.players[0].nameText.getFillColor(), sf::Color::Black);

    TestPhones after;
    TestGame resumed({}, false, &after);
    resumed.game->resume(game.saved());
    after.arrive(*resumed.game, 7, "+");
    after.arrive(*resumed.game, 7,
                 R"({"type":"resume","seat":0,"secret":")" + secrets[0] + R"("})");
    EXPECT_EQ(after.told[7].front().at("type"), "seated");
    EXPECT_EQ(after.told[7].back().at("name"), "Jörg") << "and is shown its game";
}

// With phones the invitation stands large until the first roll; Q shows and hides it between
// turns, and another round starts with it large again.
TEST(Phones, TheLobbyStandsUntilTheFirstRollAndAgainWithQOrANewRound) {
    TestPhones phones;
    TestGame test({6}, true, &phones);
    const Game& game = *test.game;
    using K = sf::Keyboard;
    // The one player rolls home: the round is over.
    const std::pair<K::Key, bool> steps[] = {{K::Q, false}, {K::Q, true},  {K::W, false},
                                             {K::Q, true},  {K::Q, false}, {K::N, true}};
    EXPECT_TRUE(game.inviting());
    test.seat({106});
    for (const auto& [pressed, inviting] : steps) {
        test.press(pressed);
        EXPECT_EQ(game.inviting(), inviting) << pressed;
    }
    EXPECT_FALSE(TestGame().game->inviting()) << "without phones";
}

// In the sofa view each token and the token that leads its row carry the player's mark, made
// anew as players and names come and go, and told to their phones; a mark stays inside its
// token, alone or sharing a field, on a 1080p and a 4K TV. Outside the sofa view tokens are bare.
TEST(Sofa, EveryTokenCarriesItsMarkInsideIt) {
    TestPhones phones;
    TestGame test({}, true, &phones);
    Game& game = *test.game;
    const auto marks = [&game] {
        std::string shown;
        for (const Player& player : game.players)
            shown += std::string(player.mark.getString() == player.rowMark.getString() ? "" : "!") +
                     player.mark.getString().toAnsiString() + " ";
        return shown;
    };
    phones.arrive(game, 1, "+");
    phones.arrive(game, 1, R"({"type":"join","name":"Anna"})");
    test.press(sf::Keyboard::Add);
    phones.arrive(game, 2, "+");
    phones.arrive(game, 2, R"({"type":"join","name":"Andi"})");
    EXPECT_EQ(marks(), "Ann 2 And ");
    EXPECT_EQ(phones.told[1].back().at("mark"), "Ann");
    test.press(sf::Keyboard::Subtract);
    EXPECT_EQ(marks(), "A 2 ");

    SavedGame nine;
    const std::pair<int, const char*> seated[] = {{20, "Anna"}, {20, ""},    {20, "Andi"},
                                                  {20, "Ölaf"}, {5, ""},     {33, "Jörg"},
                                                  {57, ""},     {80, "Bob"}, {99, ""}};
    for (const auto& [field, name] : seated)
        nine.players.push_back({{field, field, 0, false}, name, ""});
    TestGame bare;
    bare.game->resume(nine);
    EXPECT_EQ(bare.game->players[0].mark.getString(), "");
    TestGame sofa({}, true);
    sofa.game->resume(nine);
    for (const sf::Vector2u size : {sf::Vector2u(1920, 1080), sf::Vector2u(3840, 2160)}) {
        sofa.game->fitToWindow(size);
        const float scale = fitToScreen(size).scale.y;
        for (const Player& player : sofa.game->players) {
            for (const auto& [mark, token] : {std::make_pair(&player.mark, &player.token),
                                              std::make_pair(&player.rowMark, &player.rowToken)}) {
                const sf::FloatRect glyphs = mark->getGlobalBounds();
                const sf::FloatRect circle = token->getGlobalBounds();
                const std::string what = mark->getString().toAnsiString() + " at " +
                                         std::to_string(size.x) + ", radius " +
                                         std::to_string(token->getRadius());
                // Every corner of the glyphs two pixels clear of the token's black edge, but for
                // the half pixel each way that puts them on whole pixels.
                const float inner = token->getRadius() - tokenOutline - 2;
                for (const float x : {glyphs.left, glyphs.left + glyphs.width})
                    for (const float y : {glyphs.top, glyphs.top + glyphs.height})
                        EXPECT_LE(std::hypot(x - circle.left - circle.width / 2,
                                             y - circle.top - circle.height / 2),
                                  inner + 0.75f)
                            << what;
                EXPECT_NEAR(glyphs.left + glyphs.width / 2, circle.left + circle.width / 2, 1)
                    << what;
                EXPECT_NEAR(glyphs.top + glyphs.height / 2, circle.top + circle.height / 2, 1)
                    << what;
                EXPECT_GE(glyphs.height, token->getRadius() * 0.6f) << what;
                EXPECT_EQ(mark->getCharacterSize() / scale,
                          std::round(mark->getCharacterSize() / scale))
                    << what;
            }
        }
    }
}

// A round of two in the sofa view: the first home is celebrated on their card, every change is
// saved, the podium comes with the last one home, in the order they got there, and holds the
// turns; N starts another round with the same players, as if they had just joined.
TEST(Sofa, ARoundEndsOnThePodiumAndNStartsAnother) {
    TestGame test({}, true), fresh({}, true);
    Game& game = *test.game;
    for (int join = 0; join < 2; ++join)
        for (const TestGame* seated : {&test, &fresh})
            seated->press(sf::Keyboard::Add);
    std::vector<int> order;
    int turns = 0;
    const auto roundIsOver = [&game] { return roundOver(standings(game.players)); };
    for (; !roundIsOver() && turns < 3000; ++turns) {
        const int roller = whoWouldRoll(standings(game.players), game.currentPlayer);
        const bool wasHome = game.players[roller].finished;
        test.press(sf::Keyboard::W);
        if (!wasHome && game.players[roller].finished) {
            order.push_back(roller);
            EXPECT_EQ(game.sofa().cardTexts().front().getString() == "First at the goal!",
                      order.size() == 1);
        }
        EXPECT_TRUE(game.sofa().cardShown());
        EXPECT_EQ(game.sofa().podiumShown(), roundIsOver()) << "turn " << turns;
    }
    ASSERT_TRUE(roundIsOver());
    EXPECT_EQ(game.saved().finishOrder, order);
    ASSERT_EQ(test.saves.size(), static_cast<std::size_t>(2 + turns));

    const std::string over = savedGameText(game.saved());
    test.press(sf::Keyboard::W);
    EXPECT_EQ(savedGameText(game.saved()), over) << "the podium holds the turns";
    test.press(sf::Keyboard::N);
    EXPECT_EQ(savedGameText(game.saved()), savedGameText(fresh.game->saved())) << "as if new";
    EXPECT_FALSE(game.sofa().podiumShown() || game.sofa().cardShown());
}

// Every task of every shipped deck: decks are checked without a display, so a label must measure
// as SFML draws it at every size it may shrink to. On a 1080p and a 4K TV, a task fits its row at
// any slot, with or without a name; its card reads from 3 m (32 layout pixels or more), stays in
// the safe area and leaves the field reached in sight.
TEST(Sofa, EveryTaskMeasuresAsDrawnFitsItsRowAndReadsLargeOnItsCard) {
    const TextMeasure measure("assets/SmallMemory.ttf");
    std::vector<DeckProblem> problems;
    const auto find = [](const std::string& name) { return "decks/" + name + ".toml"; };
    std::vector<FieldTexts> decks;
    for (const auto& deck : std::filesystem::directory_iterator("decks"))
        decks.push_back(
            loadDeck(deck.path().string(), find, measure, problems, std::locale::classic()));
    ASSERT_TRUE(problems.empty() && measure.hasGlyph(U'Ж') && !measure.hasGlyph(0x1F600));
    TestGame test;
    const Game& game = *test.game;
    const auto words = [](const sf::String& text) {
        return wrapToWidth(text, 1e6f, [](const sf::String&) { return 0.f; });
    };
    for (const sf::Vector2u size : {sf::Vector2u(1920, 1080), sf::Vector2u(3840, 2160)}) {
        const ScreenFit fit = fitToScreen(size);
        for (const FieldTexts& texts : decks) {
            for (int field = 0; field < fieldCount; ++field) {
                const sf::String task = toDisplayString(texts[field].text);
                const sf::String label = toDisplayString(fieldLabel(field, texts[field].text));
                for (const unsigned int px : {smallestLabelSize, 11u, 12u, 30u})
                    ASSERT_EQ(measure.bounds(label, px),
                              sf::Text(label, game.font, px).getLocalBounds())
                        << "field " << field << " at " << px << " px";
                const int slot = field % maxPlayers;
                Player player(game.font);
                player.setSlot(slot);
                player.setName(field % 2 ? "Wolfgang Amadeus" : "");
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
        // Longer than any shipped task: its row and its card hold it at a smaller size.
        const sf::String task = toDisplayString(
            "Jeder erzählt reihum eine peinliche Geschichte aus seiner Schulzeit; wer dabei "
            "lacht, erzählt die nächste und trinkt ein Glas Wasser auf ex, bevor er weiterwürfelt. "
            "Wer keine Geschichte weiß, singt stattdessen den Refrain seines Lieblingslieds");
        Player player(game.font);
        player.setSlot(8);
        fitTaskToRow(player, task, fit);
        EXPECT_LT(player.taskText.getCharacterSize() / fit.scale.y, statusTextSize - 0.5f);
        EXPECT_TRUE(inside(player.taskText.getGlobalBounds(), {1100.f, 800.f, 820.f, 90.f}));
        SofaView sofa;
        sofa.showCard(task + " " + task, "", 8, game.fields[1].rect.getGlobalBounds(), false,
                      game.font, fit);
        EXPECT_LT(sofa.cardTexts().back().getCharacterSize() / fit.scale.y, cardTextSize - 0.5f);
        EXPECT_TRUE(inside(sofa.cardTexts().back().getGlobalBounds(), tvSafeArea));
    }
}

// What the TV says of its own, in each of the game's languages and in the pseudo-language that
// brackets every message: on a 1080p and a 4K TV the first home's card, a podium of nine and
// the line without a network fit where they are drawn, and each of their texts but a name or a
// task is a message of the game's, so that none goes untranslated.
TEST(Sofa, EveryTextOfOursIsTranslatedAndFits) {
    TestGame test;
    const Game& game = *test.game;
    const std::string name = "Wolfgang Amadeus"; // as long as a name may be
    const std::string key = "0123456789abcdef0123456789abcdef";
    std::vector<Player> players;
    std::vector<int> order;
    for (int slot = 0; slot < maxPlayers; ++slot) {
        players.emplace_back(game.font).setName(slot % 2 ? "" : name);
        order.push_back(maxPlayers - 1 - slot);
    }
    for (const std::string language : {"qps", "de", "en"}) {
        const std::locale words = wordsIn(language, {"locale"});
        for (const sf::Vector2u size : {sf::Vector2u(1920, 1080), sf::Vector2u(3840, 2160)}) {
            const auto shown = [&](const sf::Text& text, const sf::FloatRect& area,
                                   bool ours = true) {
                const std::string said = text.getString().toAnsiString();
                EXPECT_TRUE(language != "qps" || !ours || said == name ||
                            (said.front() == '[' && said.back() == ']'))
                    << said;
                EXPECT_TRUE(inside(text.getGlobalBounds(), area)) << said << " at " << size.x;
            };
            const ScreenFit fit = fitToScreen(size);
            SofaView sofa;
            sofa.speak(words);
            for (const std::string& home : {name, std::string()}) {
                sofa.showCard("ZIEL", home, 0, game.fields[goalField].rect.getGlobalBounds(), true,
                              game.font, fit);
                shown(sofa.cardTexts().front(), tvSafeArea);
            }
            sofa.showPodium(players, order, game.font, fit);
            for (const sf::Text& text : sofa.podiumLines())
                shown(text, podiumArea);
            PhoneInvite invite;
            invite.build({}, game.font, words);
            fitText(invite.noNetwork, inviteTextSize, fit);
            shown(invite.noNetwork, inviteArea);

            // The lobby, with the longest links there are and nine who joined: its code is
            // read from the sofa (modules of 9 layout pixels or more), and nothing covers it;
            // and the invitation in its corner.
            invite.build({"http://[fd12:3456:789a:bcde:f012:3456:789a:bcde]:65535/" + key + "/",
                          "http://192.168.100.200:65535/" + key + "/"},
                         game.font, words);
            std::vector<JoinedPlayer> joined;
            joined.reserve(players.size());
            for (const Player& player : players)
                joined.push_back({player.name, sf::Color::Red});
            invite.showJoined(joined, game.font);
            invite.forEachText([&fit](sf::Text& text, unsigned int px) { fitText(text, px, fit); });
            shown(invite.heading, lobbyArea);
            for (const PhoneInvite::Invitation& invitation : invite.invitations) {
                const sf::FloatRect code = invitation.largeCode.quietZone.getGlobalBounds();
                const float module =
                    code.width / static_cast<float>(qrModules((invitation.largeAddress.getString() +
                                                               invitation.largeKey.getString())
                                                                  .toAnsiString())
                                                        .size() +
                                                    8);
                EXPECT_GE(module, 9.f);
                EXPECT_EQ(module, std::round(module));
                EXPECT_TRUE(inside(code, lobbyArea));
                for (const sf::Text* text : {&invitation.largeAddress, &invitation.largeKey}) {
                    shown(*text, lobbyArea, false);
                    EXPECT_FALSE(text->getGlobalBounds().intersects(code));
                }
                for (const sf::Text& text : invite.joinedNames) {
                    shown(text, lobbyArea);
                    EXPECT_FALSE(text.getGlobalBounds().intersects(code));
                }
                EXPECT_FALSE(invite.heading.getGlobalBounds().intersects(code));
                // And in the corner, after the first roll.
                EXPECT_TRUE(inside(invitation.code.quietZone.getGlobalBounds(), inviteArea));
                for (const sf::Text* text : {&invitation.address, &invitation.key})
                    shown(*text, inviteArea, false);
            }
        }
    }
}
