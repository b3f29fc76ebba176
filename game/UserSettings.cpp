#include "game/UserSettings.h"

#include "game/PathText.h"

#include <QDir>
#include <QSettings>
#include <QUrl>

#include <memory>
#include <system_error>

namespace {

const QString kLastGameFolder = QStringLiteral("LastGameFolder");
const QString kMakeBackups = QStringLiteral("MakeBackups");

// An INI file everywhere (on Windows too, rather than the registry), in the user's settings folder.
std::unique_ptr<QSettings> Settings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velkar"),
                                       QStringLiteral("Velkar"));
}

// A folder as one settings key: '/' and '\' would open groups.
QString CodePageKey(const std::filesystem::path& gameFolder)
{
    // The real folder, links resolved: one choice however the folder is reached.
    std::error_code error;
    std::filesystem::path real = std::filesystem::weakly_canonical(gameFolder, error);
    if (error)
        real = std::filesystem::absolute(gameFolder, error);
    QString folder = QDir::cleanPath(QDir::fromNativeSeparators(PathText::ToText(error ? gameFolder : real)));
#ifdef _WIN32
    folder = folder.toCaseFolded(); // one folder, however its name is written
#endif
    return QStringLiteral("CodePages/") + QString::fromLatin1(QUrl::toPercentEncoding(folder));
}

} // namespace

std::filesystem::path UserSettings::LastGameFolder()
{
    return PathText::ToPath(Settings()->value(kLastGameFolder).toString());
}

void UserSettings::SetLastGameFolder(const std::filesystem::path& folder)
{
    Settings()->setValue(kLastGameFolder, PathText::ToText(folder));
}

std::optional<TextCodec::Page> UserSettings::CodePage(const std::filesystem::path& gameFolder)
{
    return TextCodec::FromKey(Settings()->value(CodePageKey(gameFolder)).toString());
}

void UserSettings::SetCodePage(const std::filesystem::path& gameFolder, TextCodec::Page page)
{
    Settings()->setValue(CodePageKey(gameFolder), TextCodec::Key(page));
}

bool UserSettings::MakeBackups()
{
    return Settings()->value(kMakeBackups, true).toBool();
}

void UserSettings::SetMakeBackups(bool on)
{
    Settings()->setValue(kMakeBackups, on);
}

void UserSettings::Clear()
{
    Settings()->clear();
}
