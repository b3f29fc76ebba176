#include "ui/NumberBox.h"

#include "ui/ErrorGuard.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <QWheelEvent>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

constexpr qint64 kLowest = std::numeric_limits<qint32>::min();
constexpr qint64 kHighest = std::numeric_limits<qint32>::max();

// The current text as the 32-bit number a step works on; none for any other text.
std::optional<qint64> StepBase(const QString& text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || value < kLowest || value > kHighest)
        return std::nullopt;
    return value;
}

} // namespace

NumberBox::NumberBox(Keys keys, QWidget* parent) : QAbstractSpinBox(parent), keys_(keys)
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    // The wheel over a box the user is not in must not change it (nor give it the focus).
    setFocusPolicy(Qt::StrongFocus);
    ErrorGuard::Connect(lineEdit(), &QLineEdit::textEdited, this,
                        [this](const QString& text) { emit TextEdited(text); });
}

qint64 NumberBox::Stepped(qint64 value, int steps) const
{
    if (value >= minimum_ && value <= maximum_)
        return std::clamp<qint64>(value + steps, minimum_, maximum_);
    // Outside the up-down's range a step moves from where the value is, never to an edge.
    return std::clamp<qint64>(value + steps, kLowest, kHighest);
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
    const std::optional<qint64> value = StepBase(Text());
    // No up-down: an arrow key must not turn the value into a clamp to 0..0. Text that is
    // no number has nothing to step from.
    if (!hasRange_ || !value)
        return;
    const qint64 stepped = Stepped(*value, steps);
    if (stepped == *value)
        return;
    lineEdit()->setText(QString::number(stepped));
    emit TextEdited(Text());
    update();
}

QAbstractSpinBox::StepEnabled NumberBox::stepEnabled() const
{
    const std::optional<qint64> value = StepBase(Text());
    if (!hasRange_ || !value)
        return StepNone;
    StepEnabled enabled = StepNone;
    if (Stepped(*value, 1) != *value)
        enabled |= StepUpEnabled;
    if (Stepped(*value, -1) != *value)
        enabled |= StepDownEnabled;
    return enabled;
}

void NumberBox::wheelEvent(QWheelEvent* event)
{
    if (!hasFocus()) {
        event->ignore(); // the page under it may scroll instead
        return;
    }
    QAbstractSpinBox::wheelEvent(event);
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
