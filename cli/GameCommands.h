#pragma once

#include <QStringList>

// `games`: the game folders found, as the start-up dialog offers them. `list`: a game folder's
// saved games, as the start-up dialog lists them.
class GameCommands {
public:
    static int Games(const QStringList& arguments);
    static int List(const QStringList& arguments);
};
