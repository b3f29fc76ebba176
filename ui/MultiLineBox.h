#pragma once

#include <QPlainTextEdit>
#include <QString>

// A multi-line text box whose text is exchanged in the saved game's form, with "\r\n"
// line breaks, and which refuses typing beyond its limit (a line break counts two).
class MultiLineBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit MultiLineBox(QWidget* parent = nullptr);

    void SetMaxLength(int maximum) { maxLength_ = maximum; }
    int MaxLength() const { return maxLength_; }

    QString Text() const;
    void SetText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // How many characters of the given text still fit in place of the selection.
    qsizetype Room() const;

    int maxLength_ = -1;
    // The text as loaded and as the box first showed it: untouched, it goes back byte for
    // byte, lone CRs and LFs included, instead of having its line breaks rewritten.
    QString loaded_;
    QString shown_;
};
