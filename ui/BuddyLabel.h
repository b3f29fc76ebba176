#pragma once

#include <QLabel>

// A label that stands for its buddy: a click on the label's text ticks a check box the way a
// click on the box does.
class BuddyLabel : public QLabel {
    Q_OBJECT

public:
    explicit BuddyLabel(const QString& text, QWidget* parent = nullptr);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
