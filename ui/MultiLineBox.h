#pragma once

#include "text/TextCodec.h"

#include <QPlainTextEdit>
#include <QString>

// A multi-line text box whose text is exchanged in the saved game's form, with "\r\n"
// line breaks, and which refuses typing beyond its limit: bytes in the game's code page
// (its codec, Western until set), a line break counting two.
class MultiLineBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit MultiLineBox(QWidget* parent = nullptr);

    void SetMaxLength(int maxBytes) { maxLength_ = maxBytes; }
    int MaxLength() const { return maxLength_; }
    void SetCodec(const TextCodec& codec) { codec_ = codec; }

    QString Text() const;
    void SetText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // How much of text, in UTF-16 units and whole characters, fits in place of the selection.
    qsizetype Fitting(const QString& text) const;

    int maxLength_ = -1;
    TextCodec codec_;
    // The text as loaded and as the box first showed it: untouched, it goes back byte for
    // byte, lone CRs and LFs included, instead of having its line breaks rewritten.
    QString loaded_;
    QString shown_;
};
