#pragma once

#include <QString>

#include <functional>

// Every message the program shows: a warning box with one OK button and the
// program's name as title, or a question with Yes and No. The sink and the answerer can be
// replaced so that tests never block on a modal box.
class Messages {
public:
    using Sink = std::function<void(const QString& text)>;
    using Answerer = std::function<bool(const QString& question)>;

    static void Warning(const QString& text);
    // How many warnings were shown so far: whether an action's steps reported a problem.
    static int WarningCount();
    // True for Yes. No is the default button: the question guards an action that replaces.
    static bool Question(const QString& text);

    // Installs a new sink and returns the previous one; an empty sink restores the box.
    static Sink SetSink(Sink sink);
    // The same for questions.
    static Answerer SetAnswerer(Answerer answerer);

    // The fixed texts of the field checks.
    static QString NotAnInteger();
    static QString NotAPositiveInteger();
    static QString NotBetween(int minimum, int maximum);
    static QString TooLong(int maximum);
    // A saved game's text ("name") in a code page with double-byte characters or wrapping.
    static QString TooManyBytes(const QString& subject, qsizetype bytes, int maximum);
    static QString CannotStore(const QString& subject, const QString& characters);
};
