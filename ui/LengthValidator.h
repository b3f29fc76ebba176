#pragma once

#include <QValidator>

// Refuses an edit that would make the text longer than the limit. Unlike a line
// edit's own limit it never cuts a text put in by the program, so that a stored text
// that is too long still reaches the length check.
class LengthValidator : public QValidator {
    Q_OBJECT

public:
    explicit LengthValidator(int maximum, QObject* parent = nullptr);

    int Maximum() const { return maximum_; }
    State validate(QString& text, int& position) const override;

private:
    int maximum_;
};
