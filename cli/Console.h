#pragma once

#include <QByteArray>
#include <QString>

// The program's two streams, in UTF-8 whatever the locale: scripts read them as such.
class Console {
public:
    // Each writes the text and a line end.
    static void Out(const QString& text);
    static void Error(const QString& text);
    // Bytes already in UTF-8, as they are.
    static void OutBytes(const QByteArray& bytes);
};
