#pragma once

#include <QByteArray>
#include <QString>

// The program's two streams, in UTF-8 whatever the locale: scripts read them as such. No
// control character reaches them raw but the line ends and tabs of the program's own layout.
class Console {
public:
    // Every control character (C0, DEL, C1) as a JSON-style escape (\n, \t, \u000e), so that
    // bytes from a saved game can neither ring the terminal's bell nor move its cursor; with
    // keepLayout, line ends and tabs stay. What every command prints goes through here.
    static QString Escaped(const QString& text, bool keepLayout = false);
    // In double quotes, with \" and \\ escaped as well: a name inside a sentence.
    static QString Quoted(const QString& text);

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
