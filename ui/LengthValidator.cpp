#include "ui/LengthValidator.h"

#include "text/TextCodec.h"

LengthValidator::LengthValidator(int maxBytes, QObject* parent) : QValidator(parent), maximum_(maxBytes)
{}

QValidator::State LengthValidator::validate(QString& text, int& /*position*/) const
{
    return TextCodec::Current().ByteLength(text) <= maximum_ ? Acceptable : Invalid;
}
