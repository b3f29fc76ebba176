#pragma once

#include <QCheckBox>

// A known-spell check box. A stored flag of 2 is shown as the partly checked state, set
// only by the page; a click always leads to checked or unchecked, never back to it.
class SpellBox : public QCheckBox {
    Q_OBJECT

public:
    explicit SpellBox(const QString& text, QWidget* parent = nullptr);

protected:
    void nextCheckState() override;
};
