#include "ui/MultiLineBox.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

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

qsizetype MultiLineBox::Fitting(const QString& text) const
{
    if (maxLength_ < 0)
        return text.size();
    // The selection is replaced by what comes in, so it does not count. The whole text is
    // measured: in the fan translation's wrapping a character's bytes depend on its neighbours.
    const QTextCursor cursor = textCursor();
    const QString plain = toPlainText();
    const QString before = plain.left(cursor.selectionStart());
    const QString after = plain.mid(cursor.selectionEnd());
    const auto fits = [&](qsizetype length) {
        return codec_.ByteLength(Stored(before + text.left(length) + after)) <= maxLength_;
    };
    return TextCodec::LongestStart(text, fits);
}

void MultiLineBox::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString typed = enter ? QStringLiteral("\n") : event->text();
    const bool inserts = enter || (!typed.isEmpty() && typed.front().isPrint() &&
                                   !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)));
    if (inserts && Fitting(typed) < typed.size()) {
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
    insertPlainText(text.left(Fitting(text)));
}

void MultiLineBox::inputMethodEvent(QInputMethodEvent* event)
{
    // What an input method commits (how Chinese, Japanese and Korean are typed) is held to
    // the limit as typing is.
    const QString commit = event->commitString();
    const qsizetype kept = Fitting(commit);
    if (kept == commit.size()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent trimmed(event->preeditString(), event->attributes());
    trimmed.setCommitString(commit.left(kept), event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&trimmed);
}
