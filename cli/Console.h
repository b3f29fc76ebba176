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

    // A question on the standard error, with no line end: the answer follows on the same line.
    static void Prompt(const QString& text);
    // One line of the standard input, without its end; empty at its end.
    static QString ReadLine();
    // Whether someone can answer a question: the standard input is a terminal.
    static bool InputIsTerminal();
};
