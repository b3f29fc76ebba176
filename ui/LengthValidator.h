#pragma once

#include <QValidator>

// Refuses an edit that would make the text take more than the limit's bytes in the game's
// code page (TextCodec::Current()), so a double-byte character never half fits. Unlike a line
// edit's own limit it never cuts a text put in by the program, so that a stored text that is
// too long still reaches the length check.
class LengthValidator : public QValidator {
    Q_OBJECT

public:
    explicit LengthValidator(int maxBytes, QObject* parent = nullptr);

    int Maximum() const { return maximum_; }
    State validate(QString& text, int& position) const override;

private:
    int maximum_;
};
