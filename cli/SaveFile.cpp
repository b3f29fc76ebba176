#include "cli/SaveFile.h"

#include "cli/CliError.h"
#include "cli/Console.h"
#include "game/Backups.h"
#include "game/GameCodePage.h"
#include "game/GameItems.h"
#include "game/PathText.h"
#include "game/SaveListing.h"
#include "model/MessageSink.h"

#include <QStringList>

#include <utility>

namespace {

constexpr const char* kWrappedValue = "936-wrapped";

QString ValueOf(const TextCodec::PageInfo& info)
{
    return info.wrapped ? QString::fromLatin1(kWrappedValue) : QString::number(info.number);
}

} // namespace

SaveFile::SaveFile(const QString& argument, std::optional<TextCodec::Page> encoding)
    : argument_(argument), path_(PathText::ToPath(argument)), gameFolder_(SaveListing::GameFolderOf(path_)),
      codec_(encoding ? *encoding : Decide(gameFolder_))
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
    // The item names and sizes of the game the save belongs to, as the start-up dialog reads them.
    if (!game_.Open(path_, GameItems::Load(gameFolder_, TextCodec::Key(codec_.GetPage()).toStdString()).words))
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

TextCodec::Page SaveFile::Decide(const std::filesystem::path& gameFolder)
{
    return GameCodePage::Decide(gameFolder, SaveListing::Build(gameFolder));
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
