#include "cli/Console.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace {

void Write(std::FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

void Console::Out(const QString& text)
{
    Write(stdout, (text + QLatin1Char('\n')).toUtf8());
}

void Console::Error(const QString& text)
{
    Write(stderr, (text + QLatin1Char('\n')).toUtf8());
}

void Console::OutBytes(const QByteArray& bytes)
{
    Write(stdout, bytes);
}

void Console::Prompt(const QString& text)
{
    Write(stderr, text.toUtf8());
}

QString Console::ReadLine()
{
    std::string line;
    std::getline(std::cin, line);
    return QString::fromLocal8Bit(line);
}
