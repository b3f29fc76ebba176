#include "cli/SaveFile.h"

#include "cli/CliError.h"
#include "cli/Console.h"
#include "game/Backups.h"
#include "game/GameCodePage.h"
#include "game/GameItems.h"
#include "game/PathText.h"
#include "game/SaveListing.h"
#include "model/GameData.h"
#include "model/MessageSink.h"

#include <QStringList>

#include <set>
#include <string>
#include <utility>

namespace {

constexpr const char* kWrappedValue = "936-wrapped";

QString ValueOf(const TextCodec::PageInfo& info)
{
    return info.wrapped ? QString::fromLatin1(kWrappedValue) : QString::number(info.number);
}

} // namespace

SaveFile::SaveFile(const QString& argument, std::optional<TextCodec::Page> encoding)
    : argument_(argument), path_(PathText::ToPath(argument)), gameFolder_(SaveListing::RealGameFolderOf(path_)),
      codec_(encoding ? *encoding : GameCodePage::ForSave(path_))
{
    // The model's message names no file, and a command may open two: name it here.
    struct Sink {
        MessageSink::Handler previous;
        ~Sink() { MessageSink::Install(std::move(previous)); }
    } sink{MessageSink::Install([this](std::string_view text) {
        Console::Error(QStringLiteral("velkar-cli: %1: %2")
                           .arg(argument_, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))));
    })};
    game_.SetBackupHook(Backups::Hook(Backups::Recent::Covers));
    // The item names and sizes of the game the save belongs to, as the start-up dialog reads them;
    // what of its data cannot be used is said once a run, as the start-up dialog says it once.
    const GameItems items = GameItems::Load(gameFolder_, TextCodec::Key(codec_.GetPage()).toStdString());
    if (items.data != nullptr) {
        static std::set<std::pair<std::filesystem::path, std::string>> said;
        for (const std::string& message : items.data->Messages()) {
            if (said.emplace(gameFolder_, message).second)
                Console::Error(QStringLiteral("velkar-cli: %1: %2")
                                   .arg(PathText::ToText(gameFolder_), QString::fromStdString(message)));
        }
    }
    if (!game_.Open(path_, items.words))
        throw CliError(CliError::Failure, QString()); // the sink has said why
}

void SaveFile::Save()
{
    game_.Save();
    Backups::NoteWritten(path_);
}

void SaveFile::SaveCharacter(int n)
{
    game_.SaveCharacter(n);
    Backups::NoteWritten(path_);
}

std::optional<TextCodec::Page> SaveFile::Encoding(const QString& value)
{
    if (value.isEmpty())
        return std::nullopt;
    for (const TextCodec::PageInfo& info : TextCodec::Pages()) {
        if (ValueOf(info) != value)
            continue;
        if (!TextCodec(info.page).IsAvailable())
            throw CliError::UsageError(QStringLiteral("--encoding: this build cannot convert %1").arg(value));
        return info.page;
    }
    throw CliError::UsageError(QStringLiteral("--encoding: %1 is none of %2").arg(value, EncodingValues()));
}

QString SaveFile::EncodingValues()
{
    QStringList values;
    for (const TextCodec::PageInfo& info : TextCodec::Pages())
        values.append(ValueOf(info));
    return values.join(QStringLiteral(", "));
}
