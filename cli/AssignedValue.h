#pragma once

#include "cli/CliError.h"
#include "model/ClassTable.h"
#include "text/TextCodec.h"

#include <QString>

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>

// The VALUE of one FIELD=VALUE, checked against what a field can hold. Every failure is a
// CliError (usage) naming the whole argument.
class AssignedValue {
public:
    struct Range {
        std::int64_t minimum;
        std::int64_t maximum;
    };
    using Words = std::span<const std::string_view>;

    static constexpr Range Signed(int width)
    {
        const std::int64_t half = std::int64_t{1} << (8 * width - 1);
        return {-half, half - 1};
    }
    static constexpr Range Unsigned(int width) { return {0, (std::int64_t{1} << (8 * width)) - 1}; }
    static constexpr Range kInt32 = {std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max()};
    static constexpr Range kCount32 = {0, std::numeric_limits<std::int32_t>::max()};

    AssignedValue(const QString& argument, const QString& value) : argument_(argument), value_(value) {}

    const QString& Given() const { return value_; }
    CliError Bad(const QString& problem) const;
    CliError Unknown() const { return Bad(QStringLiteral("no such field")); }
    static QString Between(Range range);

    // A number in range, or the row of one of words (any case).
    std::int64_t Number(Range range, Words words = {}) const;
    // A class number, or a name the game's class table gives one.
    std::int64_t ClassNumber(Range range, const ClassTable& classes, const TextCodec& codec) const;
    bool IsNone() const { return value_.compare(QStringLiteral("none"), Qt::CaseInsensitive) == 0; }
    void RequireNone() const;
    // The text in codec's code page, at most maxBytes long.
    std::string Text(int maxBytes, const TextCodec& codec) const;

private:
    QString argument_;
    QString value_;
};
