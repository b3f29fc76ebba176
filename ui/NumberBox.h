#pragma once

#include <QAbstractSpinBox>
#include <QString>

// An edit box with an attached up-down. The up-down (and the arrow keys) step by one
// inside the range and stop at its edges; a value outside it steps by one from where it
// is. A typed or loaded value is never limited by the range. Only a box with the focus
// takes the wheel. The key filter refuses every printable key but digits (and a sign
// where the field is signed).
class NumberBox : public QAbstractSpinBox {
    Q_OBJECT

public:
    enum class Keys { Digits, DigitsAndSign };

    // The furthest an up-down control reaches either way (the platform's limit, 0x3FFF).
    static constexpr int UpDownLimit = 16383;

    explicit NumberBox(Keys keys = Keys::Digits, QWidget* parent = nullptr);

    // Gives the box its up-down; a box without a range never steps.
    void SetRange(int minimum, int maximum);
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }

    // The id the up-down had as a control of its own.
    void SetSpinId(int id) { spinId_ = id; }
    int SpinId() const { return spinId_; }

    QString Text() const;
    void SetText(const QString& text);

    void stepBy(int steps) override;

signals:
    void TextEdited(const QString& text);

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    qint64 Stepped(qint64 value, int steps) const;
    bool Refuses(const QString& typed) const;

    Keys keys_;
    int minimum_ = 0;
    int maximum_ = 0;
    bool hasRange_ = false;
    int spinId_ = 0;
};
