#include "ui/DataExchange.h"

#include "text/TextCodec.h"
#include "ui/ControlId.h"
#include "ui/Messages.h"
#include "ui/MultiLineBox.h"
#include "ui/NumberBox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QWidget>

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>
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

// What keeps text from being stored in the game's code page; empty when nothing does.
QString GameTextProblem(const DataExchange::Binding& binding, const QString& text, const TextCodec& codec)
{
    const QString subject = QString::fromLatin1(binding.subject);
    if (const QString missing = codec.Unencodable(text); !missing.isEmpty())
        return Messages::CannotStore(subject, missing);
    const qsizetype bytes = codec.ByteLength(text);
    if (bytes <= binding.maximum)
        return {};
    // In a single-byte code page bytes are characters, and people count characters.
    return TextCodec::Info(codec.GetPage()).singleByte ? Messages::TooLong(binding.maximum)
                                                       : Messages::TooManyBytes(subject, bytes, binding.maximum);
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

DataExchange::Binding DataExchange::GameText(int id, QString& member, int maxBytes, const char* subject)
{
    return {.id = id, .member = &member, .check = Check::GameText, .maximum = maxBytes, .subject = subject};
}

DataExchange::Binding DataExchange::Choice(int id, int& member)
{
    return {id, &member, Check::None, 0, 0};
}

DataExchange::Binding DataExchange::Control(int id)
{
    return {id, std::monostate{}, Check::None, 0, 0};
}

DataExchange::DataExchange(QWidget& owner) : owner_(owner)
{}

void DataExchange::SetBindings(std::vector<Binding> bindings)
{
    bindings_ = std::move(bindings);
    skipped_.assign(bindings_.size(), false);
    Remember();
}

DataExchange::Value DataExchange::ValueOf(const Binding& binding)
{
    if (const auto* number = std::get_if<int*>(&binding.member))
        return **number;
    if (const auto* text = std::get_if<QString*>(&binding.member))
        return **text;
    return {};
}

void DataExchange::Remember(const std::vector<int>& unstored)
{
    reference_.resize(bindings_.size());
    for (std::size_t i = 0; i < bindings_.size(); ++i) {
        if (i != failed_ && std::find(unstored.begin(), unstored.end(), bindings_[i].id) == unstored.end())
            reference_[i] = ValueOf(bindings_[i]);
    }
}

std::size_t DataExchange::IndexOf(int id) const
{
    const auto found = std::find_if(bindings_.begin(), bindings_.end(), [id](const Binding& b) { return b.id == id; });
    if (found == bindings_.end())
        throw std::logic_error("control " + std::to_string(id) + " is asked for but names no binding");
    return static_cast<std::size_t>(found - bindings_.begin());
}

bool DataExchange::Changed(int id) const
{
    const std::size_t i = IndexOf(id);
    return ValueOf(bindings_[i]) != reference_[i];
}

QWidget* DataExchange::Find(int id) const
{
    return ControlId::Find<QWidget>(owner_, id);
}

QWidget& DataExchange::Bound(int id) const
{
    QWidget* control = Find(id);
    if (control == nullptr)
        throw std::logic_error("control " + std::to_string(id) + " is bound but the dialog has none with that id");
    return *control;
}

void DataExchange::Show()
{
    lastFailure_.reset();
    failed_.reset();
    reference_.clear();
    for (const Binding& binding : bindings_) {
        ShowOne(binding);
        // As the control shows it: a value it cannot show (a list position past its end, a 2
        // in a check box) counts as what a reading would take from it.
        reference_.push_back(Shown(binding));
    }
}

void DataExchange::Show(const std::vector<int>& ids)
{
    reference_.resize(bindings_.size());
    for (std::size_t i = 0; i < bindings_.size(); ++i) {
        const Binding& binding = bindings_[i];
        if (std::find(ids.begin(), ids.end(), binding.id) == ids.end())
            continue;
        ShowOne(binding);
        reference_[i] = Shown(binding);
        if (failed_ == i)
            failed_.reset();
        if (lastFailure_ && lastFailure_->id == binding.id)
            lastFailure_.reset();
    }
}

DataExchange::Value DataExchange::Shown(const Binding& binding) const
{
    const QWidget* control = Find(binding.id);
    if (control == nullptr)
        return ValueOf(binding);
    if (std::holds_alternative<QString*>(binding.member))
        return TextOf(control);
    const auto* number = std::get_if<int*>(&binding.member);
    if (number == nullptr)
        return {};
    if (const auto* list = qobject_cast<const QComboBox*>(control))
        return list->currentIndex() >= 0 ? list->currentIndex() : **number;
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->isChecked() ? 1 : 0;
    const std::optional<qint64> value = ParseWhole(TextOf(control), true);
    return value ? static_cast<int>(*value) : **number;
}

void DataExchange::ShowOne(const Binding& binding)
{
    QWidget* control = &Bound(binding.id);
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

void DataExchange::SetSkipped(int id, bool skipped)
{
    skipped_[IndexOf(id)] = skipped;
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
    failed_.reset();
    for (std::size_t i = 0; i < bindings_.size(); ++i) {
        const Binding& binding = bindings_[i];
        QString message;
        if (skipped_[i] || ReadOne(i, message))
            continue;
        failed_ = i;
        Failure failure{binding.id, message};
        if (!(repeat && previous == failure))
            Messages::Warning(message);
        Focus(binding.id);
        lastFailure_ = std::move(failure);
        return false;
    }
    return true;
}

bool DataExchange::ReadOne(std::size_t index, QString& message)
{
    const Binding& binding = bindings_[index];
    const QWidget* control = &Bound(binding.id);
    const auto asReference = [&] { return ValueOf(binding) == reference_[index]; };
    if (auto* const* text = std::get_if<QString*>(&binding.member)) {
        **text = TextOf(control);
        if (binding.check == Check::GameText && !asReference()) {
            message = GameTextProblem(binding, **text, codec_);
            return message.isEmpty();
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
    const QString text = TextOf(control);
    const std::optional<qint64> value = ParseWhole(text, true);
    const bool asShown = value && Value(static_cast<int>(*value)) == reference_[index];
    if (!value || (!asShown && !ParseWhole(text, binding.check != Check::Positive))) {
        message = binding.check == Check::Positive ? Messages::NotAPositiveInteger() : Messages::NotAnInteger();
        return false;
    }
    **number = static_cast<int>(*value);
    if (binding.check == Check::Range && (*value < binding.minimum || *value > binding.maximum) && !asShown) {
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
