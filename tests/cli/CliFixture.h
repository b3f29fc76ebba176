#pragma once

#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/TranscribedLayout.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <ostream>

// velkar-cli run as a process. Each test has a home of its own (settings, a Wine prefix
// whose registry names the game and whose code page is 1251) and the game folder in it.
class CliFixture : public ::testing::Test {
protected:
    struct Result {
        int status = -1;
        QByteArray out;
        QString error;
    };

    // Spans in clock ticks, 256 a minute.
    static constexpr std::int64_t Ticks(std::int64_t days, std::int64_t hours, std::int64_t minutes)
    {
        return ((days * 24 + hours) * 60 + minutes) * 256;
    }
    // The clock of the saved games the tests write: 13:07 on the 5th day of the 3rd month of
    // 1175, and 100 ticks.
    static const std::int64_t kNow;

    CliFixture();

    Result Run(const QStringList& arguments) const;
    // show --json ...; the test fails unless it succeeds.
    QJsonObject Show(const std::filesystem::path& save, const QStringList& options = {}) const;
    // A played save with the clock at kNow, in the game's Saves folder.
    static SaveBuilder Played(std::uint32_t seed);
    std::filesystem::path Write(const SaveBuilder& save, const char* fileName = "save000.dod") const;

    // Window offsets of character n's record offset and of its field of that name, and of a
    // window field, as tests/data/window-layout.txt transcribes them.
    static int Record(int n, int offset) { return TranscribedLayout::RecordStart(n) + offset; }
    static int Record(int n, const char* field) { return TranscribedLayout::At(field, n); }
    static int Window(const char* field) { return TranscribedLayout::At(field); }
    // Where a member of a spell effect or a word of an inventory entry lies inside it, and a
    // field's width.
    static int Inside(const char* member) { return TranscribedLayout::Named(member).offset; }
    static int Width(const char* field) { return TranscribedLayout::Named(field).width; }
    // "characters/2/Skills/Sword": the value there, undefined where there is none.
    static QJsonValue At(const QJsonObject& document, const QString& path);
    // A JSON value of any kind (fromJson takes only documents); undefined for null or "".
    static QJsonValue Json(const char* text);
    static QString Text(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

    TempDirectory home_;
    std::filesystem::path game_;
};

// Values in failure messages as JSON.
inline void PrintTo(const QJsonValue& value, std::ostream* out)
{
    *out << QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).toStdString();
}
