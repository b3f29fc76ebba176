#include "cli/AssignedValue.h"

#include "game/ShownValue.h"

#include <QStringList>

#include <optional>

CliError AssignedValue::Bad(const QString& problem) const
{
    return CliError::UsageError(argument_ + QStringLiteral(": ") + problem);
}

QString AssignedValue::Between(Range range)
{
    return QStringLiteral("the value must be between %1 and %2").arg(range.minimum).arg(range.maximum);
}

std::int64_t AssignedValue::Number(Range range, Words words) const
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (value_.compare(ShownValue::Latin1(words[i]), Qt::CaseInsensitive) == 0)
            return static_cast<std::int64_t>(i);
    }
    bool ok = false;
    const qlonglong number = value_.toLongLong(&ok);
    if (!ok) {
        QStringList list;
        for (const std::string_view word : words)
            list.append(ShownValue::Latin1(word));
        throw Bad(words.empty() ? QStringLiteral("the value must be a whole number")
                                : QStringLiteral("the value must be one of %1, or a whole number")
                                      .arg(list.join(QStringLiteral(", "))));
    }
    if (number < range.minimum || number > range.maximum)
        throw Bad(Between(range));
    return number;
}

std::int64_t AssignedValue::ClassNumber(Range range, const ClassTable& classes, const TextCodec& codec) const
{
    for (const int number : classes.NamedNumbers()) {
        if (value_.compare(codec.ToText(*classes.GetClassName(number)), Qt::CaseInsensitive) == 0)
            return number;
    }
    bool ok = false;
    const qlonglong number = value_.toLongLong(&ok);
    if (!ok)
        throw Bad(QStringLiteral("the value must be a class name of the game, or a whole number"));
    if (number < range.minimum || number > range.maximum)
        throw Bad(Between(range));
    return number;
}

void AssignedValue::RequireNone() const
{
    if (!IsNone())
        throw Bad(QStringLiteral("the only value here is none"));
}

std::string AssignedValue::Text(int maxBytes, const TextCodec& codec) const
{
    const std::optional<std::string> bytes = codec.ToBytes(value_);
    if (!bytes)
        throw Bad(QStringLiteral("the code page %1 cannot store %2")
                      .arg(QString::fromLatin1(TextCodec::Info(codec.GetPage()).label), codec.Unencodable(value_)));
    if (bytes->size() > static_cast<std::size_t>(maxBytes))
        throw Bad(QStringLiteral("the text takes %1 bytes; the field holds %2").arg(bytes->size()).arg(maxBytes));
    return *bytes;
}
