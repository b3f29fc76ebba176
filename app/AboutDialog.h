#pragma once

#include <QDialog>
#include <QString>

// The About box: the program's name and version, and its readme.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int IdOk = 1;
    static constexpr int IdReadme = 1185;

    explicit AboutDialog(QWidget* parent = nullptr);

    static QString Readme();

private:
    QString readme_;
};
