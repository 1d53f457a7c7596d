#include "core/TurnRules.hpp"

#include "board/BoardGeometry.hpp"
#include "board/BoardTables.hpp"

#include <algorithm>

int nextPlayer(int current, int playerCount) {
    const int next = current + 1;
    return next == playerCount ? 0 : next;
}

int findRoller(Standings& standings, int current) {
    const int count = static_cast<int>(standings.size());
    int budget = rollerSearchBudget;

    // Every advance spends budget, but only a finished player is held against it: a waiting
    // one waits at most two turns, so the search ends at the latest with the 21st candidate.
    for (;;) {
        Standing& candidate = standings[static_cast<std::size_t>(current)];
        if (candidate.turnsToWait != 0) {
            --candidate.turnsToWait;
        } else if (!candidate.finished || budget == 0) {
            return current;
        }
        current = nextPlayer(current, count);
        --budget;
    }
}

int whoWouldRoll(Standings standings, int current) {
    return standings.empty() ? -1 : findRoller(standings, current);
}

Move moveOf(int field, int steps, const Fields& fields) {
    Move move;
    const int sum = field + steps;
    move.bounces = sum > goalField;
    move.reached = move.bounces ? 2 * goalField - sum : sum;
    move.sitsOut = move.reached == waitingField;

    // A jump is taken once: the target's own jump is not followed.
    const Field& reached = fields[static_cast<std::size_t>(move.reached)];
    move.end = reached.target;
    const bool backAndForth = fields[static_cast<std::size_t>(move.end)].target == move.reached;
    move.taskField = backAndForth ? move.reached : move.end;
    return move;
}

bool finishedAfter(bool finished, int end) {
    return end == goalField ? !finished : finished;
}

void noteFinish(std::vector<int>& order, int player, bool finished) {
    const auto at = std::find(order.begin(), order.end(), player);
    if (finished && at == order.end()) {
        order.push_back(player);
    } else if (!finished && at != order.end()) {
        order.erase(at);
    }
}

bool roundOver(const Standings& standings) {
    return !standings.empty() &&
           std::all_of(standings.begin(), standings.end(),
                       [](const Standing& player) { return player.finished; });
}
