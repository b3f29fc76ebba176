#include "ui/MultiLineBox.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

#include <algorithm>
#include <limits>

namespace {

const QString kStoredBreak = QStringLiteral("\r\n");

QString Stored(QString text)
{
    return text.replace(u'\n', kStoredBreak);
}

} // namespace

MultiLineBox::MultiLineBox(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

QString MultiLineBox::Text() const
{
    const QString plain = toPlainText();
    return plain == shown_ ? loaded_ : Stored(plain);
}

void MultiLineBox::SetText(const QString& text)
{
    setPlainText(QString(text).replace(kStoredBreak, QStringLiteral("\n")));
    loaded_ = text;
    shown_ = toPlainText();
}

qsizetype MultiLineBox::Room() const
{
    if (maxLength_ < 0)
        return std::numeric_limits<qsizetype>::max();
    // The selection is replaced by what is typed, so it does not count.
    QString selected = textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, u'\n');
    const qsizetype used = Text().size() - Stored(selected).size();
    return std::max<qsizetype>(0, maxLength_ - used);
}

void MultiLineBox::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString typed = enter ? kStoredBreak : event->text();
    const bool inserts = enter || (!typed.isEmpty() && typed.front().isPrint()
                                   && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)));
    if (inserts && Stored(typed).size() > Room()) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MultiLineBox::insertFromMimeData(const QMimeData* source)
{
    if (source == nullptr || !source->hasText())
        return;
    QString text = source->text();
    text.remove(u'\r');
    // Keep as much of the pasted text as fits, a line break taking two.
    qsizetype room = Room();
    qsizetype kept = 0;
    while (kept < text.size()) {
        const qsizetype cost = text.at(kept) == u'\n' ? 2 : 1;
        if (cost > room)
            break;
        room -= cost;
        ++kept;
    }
    insertPlainText(text.left(kept));
}
