#include "game/PathText.h"

#include <QFile>

QString PathText::ToText(const std::filesystem::path& path)
{
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

QString PathText::FileName(const std::filesystem::path& path)
{
    return ToText(path.filename());
}

std::filesystem::path PathText::ToPath(const QString& text)
{
#ifdef _WIN32
    return std::filesystem::path(text.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}
