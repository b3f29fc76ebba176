#pragma once

#include "game/SaveField.h"
#include "model/SaveGame.h"
#include "text/TextCodec.h"

#include <QJsonObject>

#include <vector>

// The saved game as one JSON document: the fields of the field walk under their paths, texts
// decoded with the game's code page. `show` prints it; `set` reads its values back through the
// same walk, so what it reports is what `show` would.
class SaveDocument {
public:
    SaveDocument(const SaveGame& game, const TextCodec& codec) : game_(game), codec_(codec) {}

    QJsonObject Party() const;
    QJsonObject Character(int n) const;

private:
    // The fields' values nested by their paths; party slots, items and awards as lists.
    QJsonObject Build(int n, const std::vector<SaveField>& fields) const;

    const SaveGame& game_;
    const TextCodec& codec_;
};
