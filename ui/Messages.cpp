#include "ui/Messages.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace {

Messages::Sink& CurrentSink()
{
    static Messages::Sink sink;
    return sink;
}

Messages::Answerer& CurrentAnswerer()
{
    static Messages::Answerer answerer;
    return answerer;
}

int warnings = 0;

void ShowBox(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Velkar"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

} // namespace

void Messages::Warning(const QString& text)
{
    ++warnings;
    if (CurrentSink())
        CurrentSink()(text);
    else
        ShowBox(text);
}

int Messages::WarningCount()
{
    return warnings;
}

bool Messages::Question(const QString& text)
{
    if (CurrentAnswerer())
        return CurrentAnswerer()(text);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Velkar"), text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

Messages::Sink Messages::SetSink(Sink sink)
{
    return std::exchange(CurrentSink(), std::move(sink));
}

Messages::Answerer Messages::SetAnswerer(Answerer answerer)
{
    return std::exchange(CurrentAnswerer(), std::move(answerer));
}

QString Messages::NotAnInteger()
{
    return QStringLiteral("Please enter an integer.");
}

QString Messages::NotAPositiveInteger()
{
    return QStringLiteral("Please enter a positive integer.");
}

QString Messages::NotBetween(int minimum, int maximum)
{
    return QStringLiteral("Please enter an integer between %1 and %2.").arg(minimum).arg(maximum);
}

QString Messages::TooLong(int maximum)
{
    return QStringLiteral("Please enter no more than %1 characters.").arg(maximum);
}

QString Messages::TooManyBytes(const QString& subject, qsizetype bytes, int maximum)
{
    return QStringLiteral("The %1 takes %2 bytes in the game's code page; at most %3 fit.")
        .arg(subject)
        .arg(bytes)
        .arg(maximum);
}

QString Messages::CannotStore(const QString& subject, const QString& characters)
{
    return QStringLiteral("The %1 contains characters the game cannot store: %2").arg(subject, characters);
}
