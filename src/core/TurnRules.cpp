#include "core/TurnRules.hpp"

#include "board/BoardGeometry.hpp"
#include "board/Die.hpp"

int dieFaceAfter(int frames) {
    return frames % dieFaces;
}

bool overshootsGoal(int field, int steps) {
    return field + steps > goalField;
}

int moveTarget(int field, int steps) {
    const int reached = field + steps;
    return reached > goalField ? 2 * goalField - reached : reached;
}

int nextPlayer(int current, int playerCount) {
    const int next = current + 1;
    return next == playerCount ? 0 : next;
}

int taskFieldAfterJump(int landed, int target, int targetOfTarget) {
    return targetOfTarget == landed ? landed : target;
}

int findRoller(std::vector<Player>& players, int current) {
    const int count = static_cast<int>(players.size());
    int budget = rollerSearchBudget;

    // Every advance spends budget, but only a finished player is held against it: a waiting
    // one waits at most two turns, so the search ends at the latest with the 21st candidate.
    for (;;) {
        Player& candidate = players[current];
        if (candidate.consumeWaitTurn() == 0) {
            if (!candidate.finished || budget == 0) {
                return current;
            }
        }
        current = nextPlayer(current, count);
        --budget;
    }
}

int whoWouldRoll(std::vector<Player> players, int current) {
    return findRoller(players, current);
}
