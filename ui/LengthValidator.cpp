#include "ui/LengthValidator.h"

LengthValidator::LengthValidator(int maxBytes, const TextCodec& codec, QObject* parent)
    : QValidator(parent), maximum_(maxBytes), codec_(codec)
{}

QValidator::State LengthValidator::validate(QString& text, int& /*position*/) const
{
    return codec_.ByteLength(text) <= maximum_ ? Acceptable : Invalid;
}
