#include "ui/LengthValidator.h"

LengthValidator::LengthValidator(int maximum, QObject* parent) : QValidator(parent), maximum_(maximum) {}

QValidator::State LengthValidator::validate(QString& text, int& /*position*/) const
{
    return text.size() <= maximum_ ? Acceptable : Invalid;
}
