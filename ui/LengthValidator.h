#pragma once

#include "text/TextCodec.h"

#include <QValidator>

// Refuses an edit that would make the text take more than the limit's bytes in the game's
// code page (the codec it is given), so a double-byte character never half fits. Unlike a line
// edit's own limit it never cuts a text put in by the program, so that a stored text that is
// too long still reaches the length check.
class LengthValidator : public QValidator {
    Q_OBJECT

public:
    LengthValidator(int maxBytes, const TextCodec& codec, QObject* parent = nullptr);

    int Maximum() const { return maximum_; }
    State validate(QString& text, int& position) const override;

private:
    int maximum_;
    TextCodec codec_;
};
