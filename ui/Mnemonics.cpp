#include "ui/Mnemonics.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QSet>
#include <QWidget>

#include <utility>
#include <vector>

namespace {

constexpr const char* kGivesWay = "velkarGivesWay";

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

// Where to put the '&': a free word start, else any free letter, else nowhere (-1).
qsizetype Choose(const QString& text, const QSet<QChar>& used)
{
    qsizetype anyFree = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text[i].isLetter())
            continue;
        const bool free = !used.contains(text[i].toLower());
        const bool wordStart = i == 0 || !text[i - 1].isLetterOrNumber();
        if (free && wordStart)
            return i;
        if (free && anyFree < 0)
            anyFree = i;
    }
    return anyFree;
}

} // namespace

void Mnemonics::GiveWay(QWidget& control)
{
    control.setProperty(kGivesWay, true);
}

void Mnemonics::Assign(QWidget& root, const QWidget* reserved)
{
    // Buttons, then labels; those that give way after all of them.
    std::vector<QAbstractButton*> buttons;
    std::vector<QLabel*> labels;
    std::vector<QAbstractButton*> lastButtons;
    std::vector<QLabel*> lastLabels;
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
    for (const QGroupBox* group : root.findChildren<QGroupBox*>())
        note(group->title());
    for (QAbstractButton* button : root.findChildren<QAbstractButton*>()) {
        note(button->text());
        (button->property(kGivesWay).toBool() ? lastButtons : buttons).push_back(button);
    }
    for (QLabel* label : root.findChildren<QLabel*>()) {
        note(label->text());
        if (label->buddy() != nullptr && label->textFormat() != Qt::RichText)
            (label->property(kGivesWay).toBool() ? lastLabels : labels).push_back(label);
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
    for (const auto& [someButtons, someLabels] : {std::pair(&buttons, &labels), std::pair(&lastButtons, &lastLabels)}) {
        for (QAbstractButton* button : *someButtons)
            button->setText(give(button->text()));
        for (QLabel* label : *someLabels)
            label->setText(give(label->text()));
    }
}
