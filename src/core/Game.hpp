#pragma once

#include "board/BoardDrawing.hpp"
#include "board/Field.hpp"
#include "board/FieldText.hpp"
#include "core/Commands.hpp"
#include "core/FramePacer.hpp"
#include "core/ScreenFit.hpp"
#include "core/SofaView.hpp"
#include "phones/PhoneInvite.hpp"
#include "phones/PhoneSeats.hpp"
#include "phones/PhoneServer.hpp"
#include "players/Player.hpp"
#include "save/SavedGame.hpp"
#include "sound/Cue.hpp"
#include "sound/CuePlayer.hpp"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/System/Time.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/VideoMode.hpp>

#include <cstdint>
#include <deque>
#include <functional>
#include <locale>
#include <optional>
#include <random>
#include <string>
#include <vector>

/// Whether the die is shown: from the start of its animation to the end of the pause after it.
enum class DieState : std::int32_t { idle = 1, rolling = 2 };

/// How a game is run. The defaults are the real game; tests leave out the window and the
/// waits, and choose the die.
struct GameOptions {
    /// Without a window nothing is drawn: the game is then only its rules and its tokens'
    /// movement. (Its textures still want an X display, as SFML's always do.)
    bool openWindow = true;
    /// Frames per second the window keeps to; 0 lets it run free.
    unsigned int frameLimit = 60;
    /// Waits inside a turn and for frames not drawn; empty means real sleeps. A long wait
    /// comes as short ones.
    std::function<void(sf::Time)> sleep;
    /// The time on a steady clock, read once per die frame shown; empty means the real one.
    std::function<sf::Time()> now;
    /// Where events come from, one per call while there are any; empty means the window.
    std::function<bool(sf::Event&)> pollEvent;
    /// Number of die animation frames of a roll, from 30 to 35; empty means a fair draw.
    std::function<int()> drawFrameCount;
    /// Seed of the fair draw; empty means the current time.
    std::optional<std::uint32_t> seed;
    /// The tasks and label sizes of a deck; empty means the board's own German table.
    std::optional<FieldTexts> fieldTexts;
    /// Where the cues go, each right after the frame that shows what it tells; empty means
    /// the speaker, silent until `startSound`.
    std::function<void(Cue)> sound;
    /// Starts the game with sound off.
    bool muted = false;
    /// The phones, with --phones: the game takes what they ask as it takes keys, and tells
    /// each what concerns it. Owned by the caller, and outlives the game.
    PhoneLink* phones = nullptr;
    /// The links the TV shows the phones, one after the other; none: phones need a network.
    std::vector<std::string> phoneLinks;
    /// Where the font lies, to check that it draws a name a phone gives.
    std::string fontPath;
    /// The sofa view (--tv, and always with --phones): the task reached shown large on a card,
    /// each task fitted into its row, the podium when everyone has finished, and N for another
    /// round.
    bool sofaView = false;
    /// The language of what the TV and the phones say: main gives the deck's. English where
    /// none is given.
    std::locale words = std::locale::classic();
    /// The language of the lines the game writes to the terminal: the desktop's.
    std::locale told = std::locale::classic();
    /// Keeps the game's state after every join, leave and turn; empty keeps nothing.
    std::function<void(const SavedGame&)> save;
};

/// The application: owns the window and every resource and piece of state of a running game.
class Game {
public:
    Game();
    explicit Game(GameOptions options);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    /// Whether the game still runs: the window is open (or, without one, no close was asked).
    bool isOpen() const;

    /// Takes at most one event and acts on it: the oldest of those that came during a turn,
    /// or else the window's next.
    void update();

    /// Acts on one event: closes the game, adds or removes a player, plays a whole turn, or
    /// fits the drawing to the window's new size.
    void handleEvent(const sf::Event& happened);

    /// Draws one complete frame and displays it when it would differ from the one on screen
    /// (and at least once a second); every token moves one easing step in each frame drawn.
    /// A frame not drawn is waited out, so that each call takes a frame's time. Without a
    /// window nothing is drawn and nothing waited, and every call moves the tokens.
    void render();

    /// Draws the frame as it stands into any target: board, players, marker and die.
    void drawFrame(sf::RenderTarget& target) const;

    /// Shows the whole layout in a window of the given size, letterboxed, with every text made
    /// at the size it is shown there. Done at start-up and whenever the window's size changes.
    void fitToWindow(sf::Vector2u size);

    /// Gives every player standing on the field a waypoint at its place there.
    void arrangeTokens(int field);

    /// Opens the audio device, unless the cues go elsewhere; after the first frame, since it
    /// takes tens of milliseconds. Returns a line on why there is no sound, in the terminal's
    /// language, or nothing.
    std::string startSound() { return sound.start(options.told); }

    /// The game's state as a saved game keeps it (without its deck and the phones' key, which
    /// the game is given).
    SavedGame saved() const;

    /// Goes on with a saved game, already checked: its players where they stood, at rest.
    void resume(const SavedGame& game);

    /// What the sofa view shows over the board.
    const SofaView& sofa() const { return sofaDrawing; }

    /// Whether the invitation stands large over the board.
    bool inviting() const { return lobbyShown; }

    // Members in the order they are built; the font and the die texture outlive every text
    // and sprite that refers to them.
    sf::RenderWindow* window = nullptr;
    sf::VideoMode videoMode;
    sf::Event event{};
    sf::Font font;
    sf::Texture diceTexture;
    sf::Sprite diceSprite;
    sf::IntRect diceRect;
    bool hasEvent = false;
    DieState diceState = DieState::idle;
    FieldTexts fieldTexts;
    Fields fields;
    std::vector<Player> players;
    int playerCount = 0;
    int currentPlayer = 0;
    sf::RectangleShape currentPlayerMarker{sf::Vector2f(0.f, 0.f)};

private:
    void initWindow();
    void setUpBoard();
    bool pollWindowEvent(sf::Event& arrived) const;
    /// Looks at the window's events during a turn: ends the game, fits a new size and turns
    /// the sound off or on at once, and keeps the rest for after the turn. Returns whether
    /// the game still runs.
    bool keepEventsForLater();
    void close();
    void fitPlayer(Player& player) const;
    /// In the sofa view, gives every token its mark, which depends on everyone's names.
    void markPlayers();
    /// Puts the marks on the tokens where they are shown.
    void placeMarks();
    void showSofa();
    /// Shows who has joined in the lobby.
    void showJoined();

    void addPlayer();
    void removePlayer();
    void playTurn();
    void newRound();
    int rollDie();
    void moveRoller(Player& roller, int face);

    void answerPhone(const PhoneCall& call);
    /// Tells the phones how the game now stands, and keeps it where `save` is set.
    void shareChange(bool save);

    GameOptions options;
    BoardDrawing boardDrawing;
    ScreenFit screenFit;
    CommandReader commands;
    FramePacer pacer;
    CuePlayer sound;
    /// Events that came while a turn was played, to be handled after it, oldest first.
    std::deque<sf::Event> pendingEvents;
    std::mt19937 randomEngine;
    bool closeRequested = false;
    bool phoneHandled = false;

    /// The row the marker stands beside: the last roller's, set as a turn starts.
    int markedRow = 0;
    std::vector<int> finishOrder;
    /// The player whose task card shows in the sofa view, or -1.
    int cardPlayer = -1;
    SofaView sofaDrawing;

    /// With phones: which phone plays which seat.
    std::optional<PhoneSeats> phoneSeats;
    PhoneInvite invite;
    /// The invitation stands large over the board: from the start until the first roll, and
    /// as Q shows it between turns.
    bool lobbyShown = false;

    // The window opens blank, which the first frame changes.
    bool changedLastFrame = true;
    sf::Clock sinceDrawn;
};
