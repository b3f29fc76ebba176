#include "ui/Mnemonics.h"

#include <QAbstractButton>
#include <QLabel>
#include <QSet>
#include <QWidget>

#include <vector>

namespace {

// The letter after the '&' that marks a mnemonic, or none ("&&" is a plain ampersand).
QChar MarkedLetter(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return text[i + 1].toLower();
        ++i;
    }
    return {};
}

// Where to put the '&': a free word start, else any free letter, else the first letter.
qsizetype Choose(const QString& text, const QSet<QChar>& used)
{
    qsizetype first = -1;
    qsizetype anyFree = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text[i].isLetter())
            continue;
        if (first < 0)
            first = i;
        const bool free = !used.contains(text[i].toLower());
        const bool wordStart = i == 0 || !text[i - 1].isLetterOrNumber();
        if (free && wordStart)
            return i;
        if (free && anyFree < 0)
            anyFree = i;
    }
    return anyFree >= 0 ? anyFree : first;
}

} // namespace

void Mnemonics::Assign(QWidget& root, const QWidget* reserved)
{
    std::vector<QAbstractButton*> buttons;
    std::vector<QLabel*> labels;
    QSet<QChar> used;
    const auto note = [&](const QString& text) {
        if (const QChar letter = MarkedLetter(text); !letter.isNull())
            used.insert(letter);
    };
    if (reserved != nullptr) {
        for (const QAbstractButton* button : reserved->findChildren<QAbstractButton*>())
            note(button->text());
        for (const QLabel* label : reserved->findChildren<QLabel*>())
            note(label->text());
    }
    for (QAbstractButton* button : root.findChildren<QAbstractButton*>()) {
        note(button->text());
        buttons.push_back(button);
    }
    for (QLabel* label : root.findChildren<QLabel*>()) {
        note(label->text());
        if (label->buddy() != nullptr && label->textFormat() != Qt::RichText)
            labels.push_back(label);
    }
    const auto give = [&](const QString& text) {
        if (text.isEmpty() || !MarkedLetter(text).isNull())
            return text;
        const qsizetype at = Choose(text, used);
        if (at < 0)
            return text;
        used.insert(text[at].toLower());
        QString marked = text;
        marked.insert(at, u'&');
        return marked;
    };
    for (QAbstractButton* button : buttons)
        button->setText(give(button->text()));
    for (QLabel* label : labels)
        label->setText(give(label->text()));
}
