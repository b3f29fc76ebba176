#include <QFile>
#include <QImage>
#include <QSet>

#include "tests/ui/UiTesting.h"

#include <gtest/gtest.h>

namespace {

QString FaceName(int f)
{
    return QStringLiteral(":/FACE%1.png").arg(f, 2, 10, QLatin1Char('0'));
}

// Bit depth and colour type from a PNG's header chunk.
std::pair<int, int> PngDepthAndType(const QString& name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return {0, 0};
    const QByteArray head = file.read(26);
    return {static_cast<unsigned char>(head.at(24)), static_cast<unsigned char>(head.at(25))};
}

} // namespace

TEST(Resources, TwentyEightDifferentPortraitsOf60By80In24BitColour)
{
    QSet<QByteArray> seen;
    for (int f = 0; f < 28; ++f) {
        const QImage image(FaceName(f));
        ASSERT_EQ(image.size(), QSize(60, 80)) << f;
        EXPECT_EQ(PngDepthAndType(FaceName(f)), std::make_pair(8, 2)) << f; // 8 bits per channel, RGB
        const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
        seen.insert(QByteArray(reinterpret_cast<const char*>(rgb.constBits()), rgb.sizeInBytes()));
    }
    EXPECT_EQ(seen.size(), 28);
    EXPECT_TRUE(QImage(FaceName(28)).isNull());
    EXPECT_EQ(QImage(":/NOFACE.png").size(), QSize(60, 80));
}

TEST(Resources, BannerIconAndReadme)
{
    EXPECT_EQ(QImage(":/banner.png").size(), QSize(420, 160));
    EXPECT_EQ(PngDepthAndType(":/banner.png"), std::make_pair(8, 2));
    const QImage icon(":/icon.png");
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_LE(icon.colorCount(), 256);
    EXPECT_GT(icon.colorCount(), 0);
    QFile readme(":/readme.txt");
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QByteArray text = readme.readAll();
    EXPECT_TRUE(text.startsWith("VELKAR README:\r\n\r\n\r\nDescription:\r\n\r\n"));
    EXPECT_TRUE(text.endsWith("I might not be able to reply all of them."));
}
