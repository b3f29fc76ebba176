#ifndef _WIN32

#include "text/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

bool TextCodec::Converts(const PageInfo& info, QByteArray& encoding)
{
    encoding = "windows-" + QByteArray::number(info.number);
    if (QStringDecoder(encoding.constData()).isValid() && QStringEncoder(encoding.constData()).isValid())
        return true;
    // Qt built without ICU converts hardly any code page. Latin-1 still takes every byte and
    // gives it back unchanged, so an untouched text is never harmed.
    encoding = "ISO-8859-1";
    return false;
}

QString TextCodec::Decoded(std::string_view plain) const
{
    QStringDecoder decoder(encoding_.constData(), QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(plain.data(), static_cast<qsizetype>(plain.size())));
}

std::string TextCodec::Encoded(QStringView text, bool& complete) const
{
    QStringEncoder encoder(encoding_.constData(), QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    complete = !encoder.hasError();
    return bytes.toStdString();
}

#endif
