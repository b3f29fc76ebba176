#include "tests/dialogs/ExchangeOrderCheck.h"

#include "ui/MultiLineBox.h"
#include "ui/NumberBox.h"

#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>

namespace {

using Field = ExchangeOrderCheck::Field;

QWidget* Find(const QWidget& root, int id)
{
    return root.findChild<QWidget*>(QString::number(id));
}

// What the control shows, as text; a bound button holds nothing.
QString ValueOf(const QWidget& control)
{
    if (const auto* box = qobject_cast<const NumberBox*>(&control))
        return box->Text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(&control))
        return edit->text();
    if (const auto* text = qobject_cast<const MultiLineBox*>(&control))
        return text->toPlainText();
    if (const auto* list = qobject_cast<const QComboBox*>(&control))
        return QString::number(list->currentIndex());
    if (const auto* check = qobject_cast<const QCheckBox*>(&control))
        return QString::number(check->checkState());
    return {};
}

void Put(QWidget& control, const QString& value)
{
    if (auto* box = qobject_cast<NumberBox*>(&control))
        box->SetText(value);
    else if (auto* edit = qobject_cast<QLineEdit*>(&control))
        edit->setText(value);
    else if (auto* text = qobject_cast<MultiLineBox*>(&control))
        text->SetText(value);
    else if (auto* list = qobject_cast<QComboBox*>(&control))
        list->setCurrentIndex(value.toInt());
    else if (auto* check = qobject_cast<QCheckBox*>(&control))
        check->setCheckState(static_cast<Qt::CheckState>(value.toInt()));
}

// A good value other than the one shown.
QString NewValue(const QWidget& control, const QString& old)
{
    if (const auto* box = qobject_cast<const NumberBox*>(&control)) {
        const int value = old.toInt();
        const bool atTop = box->Maximum() > box->Minimum() && value >= box->Maximum();
        return QString::number(atTop ? value - 1 : value + 1);
    }
    if (const auto* list = qobject_cast<const QComboBox*>(&control))
        return QString::number((list->currentIndex() + 1) % std::max(list->count(), 1));
    if (qobject_cast<const QCheckBox*>(&control) != nullptr)
        return QString::number(old.toInt() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
    if (qobject_cast<const QLineEdit*>(&control) != nullptr || qobject_cast<const MultiLineBox*>(&control) != nullptr)
        return old == "A" ? "B" : "A";
    return old;
}

QString BadValue(const Field& field)
{
    return field.check == "length" ? QString(field.most + 1, u'x') : QString();
}

QString MessageFor(const Field& field)
{
    if (field.check == "length")
        return QStringLiteral("Please enter no more than %1 characters.").arg(field.most);
    if (field.check == "positive")
        return QStringLiteral("Please enter a positive integer.");
    return QStringLiteral("Please enter an integer.");
}

} // namespace

std::vector<ExchangeOrderCheck::Field> ExchangeOrderCheck::Transcribed(std::string_view dialog)
{
    std::vector<Field> fields;
    std::istringstream text{std::string(TestData::ExchangeOrder)};
    for (std::string line; std::getline(text, line);) {
        const QStringList columns = QString::fromStdString(line).split(u'\t');
        if (line.empty() || line.front() == '#' || columns.size() != 4 || columns[0].toStdString() != dialog)
            continue;
        const QStringList check = columns[2].split(u':');
        fields.push_back({columns[1].toInt(), check[0], check[0] == "length" ? check.value(1).toInt() : 0, columns[3]});
    }
    return fields;
}

void ExchangeOrderCheck::Run(std::string_view dialog, const Drive& drive)
{
    const std::vector<Field> order = Transcribed(dialog);
    ASSERT_FALSE(order.empty()) << dialog;
    int checked = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (order[k].check == "-")
            continue;
        SCOPED_TRACE(order[k].name.toStdString());
        QWidget& root = drive.open();
        // A control the dialog hides (one of two sharing a place) is not read.
        const auto shown = [&](const Field& field) {
            const QWidget* control = Find(root, field.id);
            return control != nullptr && field.check != "-" && control->isVisibleTo(&root);
        };
        if (!shown(order[k]))
            continue;
        ++checked;
        std::vector<QString> old;
        std::vector<QString> typed;
        for (const Field& field : order) {
            QWidget* control = Find(root, field.id);
            ASSERT_NE(control, nullptr) << field.name.toStdString();
            old.push_back(ValueOf(*control));
            typed.push_back(NewValue(*control, old.back()));
            Put(*control, typed.back());
        }
        QWidget& bad = *Find(root, order[k].id);
        Put(bad, BadValue(order[k]));
        std::optional<std::size_t> next;
        for (std::size_t i = k + 1; i < order.size() && !next; ++i) {
            if (shown(order[i]))
                next = i;
        }
        const QStringList message{MessageFor(order[k])};
        if (next) {
            SCOPED_TRACE("and " + order[*next].name.toStdString());
            Put(*Find(root, order[*next].id), BadValue(order[*next]));
            bad.setFocus(); // the user typed there last
            EXPECT_EQ(drive.read(), message);
            EXPECT_TRUE(bad.hasFocus());
            Put(*Find(root, order[*next].id), typed[*next]);
        }
        bad.setFocus();
        EXPECT_EQ(drive.read(), message);
        EXPECT_TRUE(bad.hasFocus());
        if (!drive.view)
            continue;
        const QWidget& view = drive.view();
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (i == k)
                continue;
            EXPECT_EQ(ValueOf(*Find(view, order[i].id)), i < k ? typed[i] : old[i]) << order[i].name.toStdString();
        }
    }
    EXPECT_GT(checked, 0);
}
