#include "ui/NumberBox.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace {

// The current text as a number for stepping; text that is none steps from zero.
qint64 StepBase(const QString& text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

} // namespace

NumberBox::NumberBox(Keys keys, QWidget* parent) : QAbstractSpinBox(parent), keys_(keys)
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    connect(lineEdit(), &QLineEdit::textEdited, this, &NumberBox::TextEdited);
}

void NumberBox::SetRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
    hasRange_ = true;
    update();
}

QString NumberBox::Text() const
{
    return lineEdit()->text();
}

void NumberBox::SetText(const QString& text)
{
    lineEdit()->setText(text);
    update();
}

void NumberBox::stepBy(int steps)
{
    if (!hasRange_)
        return; // an arrow key or the wheel must not turn the value into a clamp to 0..0
    const qint64 stepped = StepBase(Text()) + steps;
    const qint64 value = std::clamp<qint64>(stepped, minimum_, maximum_);
    lineEdit()->setText(QString::number(value));
    emit TextEdited(Text());
    update();
}

QAbstractSpinBox::StepEnabled NumberBox::stepEnabled() const
{
    if (!hasRange_)
        return StepNone;
    const qint64 value = StepBase(Text());
    StepEnabled enabled = StepNone;
    if (value < maximum_)
        enabled |= StepUpEnabled;
    if (value > minimum_)
        enabled |= StepDownEnabled;
    return enabled;
}

void NumberBox::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        stepBy(event->key() == Qt::Key_Up ? 1 : -1);
        event->accept();
        return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // The up-down knows no page steps.
        event->ignore();
        return;
    default:
        break;
    }
    if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && Refuses(event->text())) {
        event->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

bool NumberBox::Refuses(const QString& typed) const
{
    for (const QChar c : typed) {
        if (!c.isPrint())
            continue;
        const bool sign = c == u'-' || c == u'+';
        if (!(c >= u'0' && c <= u'9') && !(sign && keys_ == Keys::DigitsAndSign))
            return true;
    }
    return false;
}
