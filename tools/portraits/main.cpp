// Draws the portraits, the banner and the icons into a folder. The build uses the
// images committed under resources/; run this only to change them.
#include "tools/portraits/BrandPainter.h"
#include "tools/portraits/PortraitPainter.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>

namespace {

bool Write(const QImage& image, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name);
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RESOURCES-FOLDER\n", argv[0]);
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("portraits")))
        return 1;
    bool ok = true;
    // name@2x.png beside each: twice the pixels, which Qt picks on a high-DPI screen.
    for (const int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QStringLiteral(".png") : QStringLiteral("@2x.png");
        for (int f = 0; f < PortraitPainter::Count; ++f)
            ok &= Write(PortraitPainter::Portrait(f, scale), folder,
                        QStringLiteral("portraits/FACE%1").arg(f, 2, 10, QLatin1Char('0')) + suffix);
        ok &= Write(PortraitPainter::Placeholder(scale), folder, QStringLiteral("portraits/NOFACE") + suffix);
        ok &= Write(BrandPainter::Banner(scale), folder, QStringLiteral("banner") + suffix);
    }
    ok &= Write(BrandPainter::Icon(), folder, QStringLiteral("icon.png"));
    // The desktop's icon theme: hicolor/NxN/apps/ of the installed icons.
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString theme = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        ok &= folder.mkpath(theme) &&
              Write(BrandPainter::AppIcon(size), folder, theme + QStringLiteral("/io.github.velkar.Velkar.png"));
    }
    return ok ? 0 : 1;
}
