#include "ui/DataExchange.h"

#include "ui/Messages.h"
#include "ui/MultiLineBox.h"
#include "ui/NumberBox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QWidget>

#include <limits>
#include <utility>

namespace {

QString TextOf(const QWidget* control)
{
    if (const auto* box = qobject_cast<const NumberBox*>(control))
        return box->Text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* edit = qobject_cast<const MultiLineBox*>(control))
        return edit->Text();
    return {};
}

void SetTextOf(QWidget* control, const QString& text)
{
    if (auto* box = qobject_cast<NumberBox*>(control))
        box->SetText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* edit = qobject_cast<MultiLineBox*>(control))
        edit->SetText(text);
}

std::optional<qint64> ParseWhole(const QString& text, bool allowSign)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    if (!allowSign && !trimmed.front().isDigit())
        return std::nullopt;
    bool ok = false;
    const qint64 value = trimmed.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return value;
}

} // namespace

DataExchange::Binding DataExchange::Integer(int id, int& member)
{
    return {id, &member, Check::Integer, 0, 0};
}

DataExchange::Binding DataExchange::Positive(int id, int& member)
{
    return {id, &member, Check::Positive, 0, std::numeric_limits<int>::max()};
}

DataExchange::Binding DataExchange::Range(int id, int& member, int minimum, int maximum)
{
    return {id, &member, Check::Range, minimum, maximum};
}

DataExchange::Binding DataExchange::Text(int id, QString& member)
{
    return {id, &member, Check::None, 0, 0};
}

DataExchange::Binding DataExchange::Text(int id, QString& member, int maxLength)
{
    return {id, &member, Check::MaxLength, 0, maxLength};
}

DataExchange::Binding DataExchange::Choice(int id, int& member)
{
    return {id, &member, Check::None, 0, 0};
}

DataExchange::Binding DataExchange::Control(int id)
{
    return {id, std::monostate{}, Check::None, 0, 0};
}

DataExchange::DataExchange(QWidget& owner) : owner_(owner) {}

void DataExchange::SetBindings(std::vector<Binding> bindings)
{
    bindings_ = std::move(bindings);
}

QWidget* DataExchange::Find(int id) const
{
    return owner_.findChild<QWidget*>(QString::number(id));
}

void DataExchange::Show()
{
    lastFailure_.reset();
    for (const Binding& binding : bindings_)
        ShowOne(binding);
}

void DataExchange::ShowOne(const Binding& binding)
{
    QWidget* control = Find(binding.id);
    if (control == nullptr)
        return;
    // Moving values into the controls is not a user's change.
    const QSignalBlocker blocker(control);
    if (const auto* text = std::get_if<QString*>(&binding.member)) {
        SetTextOf(control, **text);
    } else if (const auto* number = std::get_if<int*>(&binding.member)) {
        if (auto* list = qobject_cast<QComboBox*>(control))
            list->setCurrentIndex(**number >= 0 && **number < list->count() ? **number : -1);
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->setChecked(**number != 0);
        else
            SetTextOf(control, QString::number(**number));
    }
}

bool DataExchange::Read()
{
    return ReadAll(false);
}

bool DataExchange::Recheck()
{
    return ReadAll(true);
}

bool DataExchange::ReadAll(bool repeat)
{
    const std::optional<Failure> previous = std::exchange(lastFailure_, std::nullopt);
    for (const Binding& binding : bindings_) {
        QString message;
        if (ReadOne(binding, message))
            continue;
        Failure failure{binding.id, message};
        if (!(repeat && previous == failure))
            Messages::Warning(message);
        Focus(binding.id);
        lastFailure_ = std::move(failure);
        return false;
    }
    return true;
}

bool DataExchange::ReadOne(const Binding& binding, QString& message)
{
    const QWidget* control = Find(binding.id);
    if (control == nullptr)
        return true;
    if (auto* const* text = std::get_if<QString*>(&binding.member)) {
        **text = TextOf(control);
        if (binding.check == Check::MaxLength && (*text)->toUcs4().size() > binding.maximum) {
            message = Messages::TooLong(binding.maximum);
            return false;
        }
        return true;
    }
    auto* const* number = std::get_if<int*>(&binding.member);
    if (number == nullptr)
        return true;
    if (const auto* list = qobject_cast<const QComboBox*>(control)) {
        // No selection leaves the member as loaded.
        if (list->currentIndex() >= 0)
            **number = list->currentIndex();
        return true;
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        **number = button->isChecked() ? 1 : 0;
        return true;
    }
    const std::optional<qint64> value = ParseWhole(TextOf(control), binding.check != Check::Positive);
    if (!value) {
        message = binding.check == Check::Positive ? Messages::NotAPositiveInteger() : Messages::NotAnInteger();
        return false;
    }
    **number = static_cast<int>(*value);
    if (binding.check == Check::Range && (*value < binding.minimum || *value > binding.maximum)) {
        message = Messages::NotBetween(binding.minimum, binding.maximum);
        return false;
    }
    return true;
}

void DataExchange::Focus(int id)
{
    QWidget* control = Find(id);
    if (control == nullptr)
        return;
    control->setFocus(Qt::OtherFocusReason);
    if (auto* box = qobject_cast<NumberBox*>(control))
        box->selectAll();
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
    else if (auto* edit = qobject_cast<MultiLineBox*>(control))
        edit->selectAll();
}
