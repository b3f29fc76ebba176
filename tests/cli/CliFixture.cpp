#include "tests/cli/CliFixture.h"

#include "tests/support/WinePrefixWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

const std::int64_t CliFixture::kNow = Ticks(((1175 - 1172) * 12 + 2) * 28 + 4, 13, 7) + 100;

CliFixture::CliFixture()
{
    WinePrefixWriter prefix(home_ / ".wine");
    game_ = prefix.MakeFolder("Games/MM8");
    prefix.Set(WinePrefixWriter::kGameKey32, "AppPath", u"C:\\Games\\MM8").CodePage(1251).Save();
    std::filesystem::create_directories(game_ / "Saves");
}

CliFixture::Result CliFixture::Run(const QStringList& arguments) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), Text(home_.Path()));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Text(home_ / "config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), Text(home_ / "data"));
    environment.remove(QStringLiteral("WINEPREFIX"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VELKAR_CLI_PATH), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

QJsonObject CliFixture::Show(const std::filesystem::path& save, const QStringList& options) const
{
    const Result result = Run(QStringList{QStringLiteral("show"), Text(save), QStringLiteral("--json")} + options);
    EXPECT_EQ(result.status, 0) << result.error.toStdString();
    return QJsonDocument::fromJson(result.out).object();
}

SaveBuilder CliFixture::Played(std::uint32_t seed)
{
    SaveBuilder save("Before the Ogre Fortress");
    save.SetPlayed(seed).Put(Window("Time"), 8, kNow);
    return save;
}

std::filesystem::path CliFixture::Write(const SaveBuilder& save, const char* fileName) const
{
    const std::filesystem::path path = game_ / "Saves" / fileName;
    save.WriteTo(path);
    return path;
}

QJsonValue CliFixture::At(const QJsonObject& document, const QString& path)
{
    QJsonValue value = document;
    for (const QString& key : path.split(QLatin1Char('/'))) {
        bool isIndex = false;
        const int index = key.toInt(&isIndex);
        value = isIndex ? value.toArray().at(index) : value.toObject().value(key);
    }
    return value;
}

QJsonValue CliFixture::Json(const char* text)
{
    return text == nullptr || *text == '\0' ? QJsonValue(QJsonValue::Undefined)
                                            : QJsonDocument::fromJson(QByteArray("[") + text + "]").array().at(0);
}
