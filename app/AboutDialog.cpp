#include "app/AboutDialog.h"

#include "text/TextCodec.h"
#include "ui/ControlId.h"
#include "ui/ErrorGuard.h"

#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), readme_(Readme())
{
    setWindowTitle(QStringLiteral("About Velkar"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icon.png")).pixmap(32, 32));
    auto* title = new QLabel(QString::fromUtf8("Velkar - Might & Magic\u00AE VIII Character Editor 4.00"), this);

    auto* readme = new QPlainTextEdit(this);
    ControlId::Give(readme, IdReadme);
    readme->setReadOnly(true);
    readme->setPlainText(readme_);
    readme->setMinimumSize(440, 220);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ControlId::Give(ok, IdOk);
    ok->setDefault(true);
    ErrorGuard::Connect(ok, &QPushButton::clicked, this, [this] { accept(); });

    auto* header = new QHBoxLayout;
    header->addWidget(icon);
    header->addWidget(title, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(readme, 1);
    layout->addLayout(buttons);
}

QString AboutDialog::Readme()
{
    QFile file(QStringLiteral(":/readme.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    // Stored with CRLF line ends; the edit wants plain line feeds. Our own text, in Windows-1252
    // whatever the game's code page.
    return TextCodec(TextCodec::Page::Western)
        .ToText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
