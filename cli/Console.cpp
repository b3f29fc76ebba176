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

QString Console::Escaped(const QString& text, bool keepLayout)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control || (keepLayout && (c == u'\n' || c == u'\t'))) {
            out.append(c);
            continue;
        }
        switch (c.unicode()) {
        case u'\n':
            out.append(QLatin1String("\\n"));
            break;
        case u'\t':
            out.append(QLatin1String("\\t"));
            break;
        case u'\r':
            out.append(QLatin1String("\\r"));
            break;
        case u'\b':
            out.append(QLatin1String("\\b"));
            break;
        case u'\f':
            out.append(QLatin1String("\\f"));
            break;
        default:
            out.append(QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0')));
        }
    }
    return out;
}

QString Console::Quoted(const QString& text)
{
    QString inner = text;
    inner.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + Escaped(inner) + QLatin1Char('"');
}

void Console::Out(const QString& text)
{
    Write(stdout, (Escaped(text, true) + QLatin1Char('\n')).toUtf8());
}

void Console::Error(const QString& text)
{
    Write(stderr, (Escaped(text, true) + QLatin1Char('\n')).toUtf8());
}

void Console::OutBytes(const QByteArray& bytes)
{
    Write(stdout, Escaped(QString::fromUtf8(bytes), true).toUtf8());
}

void Console::Prompt(const QString& text)
{
    Write(stderr, Escaped(text, true).toUtf8());
}

QString Console::ReadLine()
{
    std::string line;
    std::getline(std::cin, line);
    return QString::fromLocal8Bit(line);
}
