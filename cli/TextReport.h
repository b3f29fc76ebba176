#pragma once

#include <QJsonObject>
#include <QString>

// The document of `show` as a summary for people: one line per value or per group of values,
// skills without level or mastery and spells not known left out.
class TextReport {
public:
    static QString Render(const QJsonObject& document);
    // One value as `set` reports it: texts in quotes, none for null, numbers and words as they are.
    static QString Value(const QJsonValue& value, bool isText);
};
