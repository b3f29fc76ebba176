#include "tools/portraits/PortraitPainter.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>

namespace {

// The traits of one portrait. Each cycles with a different length, so the mix repeats
// only after far more than 28 portraits.
struct Traits {
    QColor background;
    QColor skin;
    QColor hair;
    QColor eyes;
    QColor clothes;
    int hairStyle; // 0 bald, 1 short, 2 long, 3 spiky, 4 hood, 5 braids, 6 crest
    int faceWidth; // half-width of the head
    int headgear;  // 0 none, 1 horns, 2 crown, 3 circlet
    bool beard;
    bool pointedEars;
    bool smiling;
};

constexpr std::array<QRgb, 7> kSkins = {0xF1C8A0, 0xD9A066, 0xA86B3C, 0x6E4B2A, 0x9BB88A, 0xB8B8D8, 0xE0B0B8};
constexpr std::array<QRgb, 6> kHair = {0x2B1B0E, 0xC9A227, 0x8E2F1B, 0xE8E8E8, 0x3A5FA0, 0x5A3E8A};
constexpr std::array<QRgb, 5> kEyes = {0x2E6FD0, 0x3C9A3C, 0x6B3E1E, 0xC03030, 0xE0C020};
constexpr std::array<QRgb, 4> kClothes = {0x7A1F2B, 0x1F4F7A, 0x2F6A2F, 0x5B4B2B};

Traits TraitsOf(int number)
{
    Traits t;
    t.background = QColor::fromHsv((number * 360 / PortraitPainter::Count + 200) % 360, 90, 200);
    t.skin = QColor(kSkins[number % kSkins.size()]);
    t.hair = QColor(kHair[(number / 2) % kHair.size()]);
    t.eyes = QColor(kEyes[number % kEyes.size()]);
    t.clothes = QColor(kClothes[(number / 3) % kClothes.size()]);
    t.hairStyle = number % 7;
    t.faceWidth = 13 + number % 4;
    t.headgear = (number / 7) % 4;
    t.beard = number % 3 == 1;
    t.pointedEars = number % 5 == 2;
    t.smiling = number % 2 == 0;
    return t;
}

void PaintBackground(QPainter& p, const Traits& t)
{
    QLinearGradient sky(0, 0, 0, PortraitPainter::Height);
    sky.setColorAt(0, t.background.lighter(130));
    sky.setColorAt(1, t.background.darker(140));
    p.fillRect(0, 0, PortraitPainter::Width, PortraitPainter::Height, sky);
}

void PaintBody(QPainter& p, const Traits& t)
{
    p.setPen(QPen(t.clothes.darker(160), 1));
    p.setBrush(t.clothes);
    QPainterPath shoulders;
    shoulders.moveTo(4, 80);
    shoulders.cubicTo(6, 62, 18, 58, 30, 58);
    shoulders.cubicTo(42, 58, 54, 62, 56, 80);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    p.setBrush(t.skin.darker(110));
    p.drawRect(25, 50, 10, 10);
}

void PaintHairBack(QPainter& p, const Traits& t)
{
    p.setPen(Qt::NoPen);
    p.setBrush(t.hair);
    if (t.hairStyle == 2)
        p.drawRoundedRect(30 - t.faceWidth - 4, 14, 2 * t.faceWidth + 8, 46, 8, 8);
    if (t.hairStyle == 5) {
        p.drawRect(30 - t.faceWidth - 3, 28, 5, 30);
        p.drawRect(30 + t.faceWidth - 2, 28, 5, 30);
    }
    if (t.hairStyle == 4) {
        p.setBrush(t.clothes.lighter(120));
        p.drawEllipse(QPoint(30, 34), t.faceWidth + 7, 26);
    }
}

void PaintHead(QPainter& p, const Traits& t)
{
    p.setPen(QPen(t.skin.darker(150), 1));
    p.setBrush(t.skin);
    if (t.pointedEars) {
        p.drawPolygon(QPolygon({{30 - t.faceWidth, 30}, {30 - t.faceWidth - 8, 20}, {30 - t.faceWidth + 1, 38}}));
        p.drawPolygon(QPolygon({{30 + t.faceWidth, 30}, {30 + t.faceWidth + 8, 20}, {30 + t.faceWidth - 1, 38}}));
    } else {
        p.drawEllipse(QPoint(30 - t.faceWidth, 34), 3, 5);
        p.drawEllipse(QPoint(30 + t.faceWidth, 34), 3, 5);
    }
    p.drawEllipse(QPoint(30, 34), t.faceWidth, 19);
}

void PaintFace(QPainter& p, const Traits& t)
{
    p.setPen(Qt::NoPen);
    for (const int x : {23, 37}) {
        p.setBrush(Qt::white);
        p.drawEllipse(QPoint(x, 32), 4, 3);
        p.setBrush(t.eyes);
        p.drawEllipse(QPoint(x, 32), 2, 2);
        p.setBrush(Qt::black);
        p.drawEllipse(QPoint(x, 32), 1, 1);
    }
    p.setPen(QPen(t.hair.darker(120), 2));
    p.drawLine(19, 27, 26, 26);
    p.drawLine(34, 26, 41, 27);
    p.setPen(QPen(t.skin.darker(140), 1));
    p.drawLine(30, 33, 28, 40);
    p.drawLine(28, 40, 31, 40);
    p.setPen(QPen(QColor(0x80, 0x20, 0x20), 2));
    p.setBrush(Qt::NoBrush);
    if (t.smiling)
        p.drawArc(24, 38, 12, 8, 200 * 16, 140 * 16);
    else
        p.drawLine(25, 45, 35, 45);
    if (t.beard) {
        p.setPen(Qt::NoPen);
        p.setBrush(t.hair);
        QPainterPath beard;
        beard.moveTo(30 - t.faceWidth + 2, 40);
        beard.quadTo(30, 66, 30 + t.faceWidth - 2, 40);
        beard.quadTo(30, 50, 30 - t.faceWidth + 2, 40);
        p.drawPath(beard);
    }
}

void PaintHairFront(QPainter& p, const Traits& t)
{
    p.setPen(Qt::NoPen);
    p.setBrush(t.hair);
    const int left = 30 - t.faceWidth;
    const int span = 2 * t.faceWidth;
    switch (t.hairStyle) {
    case 1:
    case 2:
    case 5:
        p.drawChord(left - 1, 13, span + 2, 22, 0, 180 * 16);
        break;
    case 3:
        for (int i = 0; i < 5; ++i) {
            const int x = left + i * span / 4;
            p.drawPolygon(QPolygon({{x - 5, 26}, {x, 8 + (i % 2) * 4}, {x + 5, 26}}));
        }
        p.drawChord(left, 15, span, 18, 0, 180 * 16);
        break;
    case 4:
        p.setBrush(t.clothes.lighter(120));
        p.drawChord(left - 4, 9, span + 8, 30, 0, 180 * 16);
        break;
    case 6:
        p.drawRect(27, 6, 6, 16);
        break;
    default:
        break;
    }
}

void PaintHeadgear(QPainter& p, const Traits& t)
{
    switch (t.headgear) {
    case 1:
        p.setPen(QPen(QColor(0x40, 0x30, 0x20), 1));
        p.setBrush(QColor(0xE8, 0xDC, 0xC0));
        p.drawPolygon(QPolygon({{18, 22}, {10, 4}, {23, 18}}));
        p.drawPolygon(QPolygon({{42, 22}, {50, 4}, {37, 18}}));
        break;
    case 2:
        p.setPen(QPen(QColor(0x80, 0x60, 0x00), 1));
        p.setBrush(QColor(0xF0, 0xC8, 0x30));
        p.drawPolygon(QPolygon({{19, 20}, {19, 8}, {24, 14}, {30, 5}, {36, 14}, {41, 8}, {41, 20}}));
        break;
    case 3:
        p.setPen(QPen(QColor(0xC0, 0xC0, 0xD0), 2));
        p.drawLine(30 - t.faceWidth + 1, 22, 30 + t.faceWidth - 1, 22);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x30, 0xD0, 0xD0));
        p.drawEllipse(QPoint(30, 22), 2, 2);
        break;
    default:
        break;
    }
}

void PaintFrame(QPainter& p)
{
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, PortraitPainter::Width - 1, PortraitPainter::Height - 1);
}

} // namespace

QImage PortraitPainter::Portrait(int number, int scale)
{
    const Traits traits = TraitsOf(number);
    QImage image(Width * scale, Height * scale, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    PaintBackground(p, traits);
    PaintBody(p, traits);
    PaintHairBack(p, traits);
    PaintHead(p, traits);
    PaintFace(p, traits);
    PaintHairFront(p, traits);
    PaintHeadgear(p, traits);
    PaintFrame(p);
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage PortraitPainter::Placeholder(int scale)
{
    QImage image(Width * scale, Height * scale, QImage::Format_RGB32);
    image.fill(QColor(0xB0, 0xB0, 0xB0));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x90, 0x90, 0x90));
    p.drawEllipse(QPoint(30, 32), 13, 17);
    p.drawChord(6, 56, 48, 48, 0, 180 * 16);
    p.setPen(QColor(0xF0, 0xF0, 0xF0));
    QFont font = p.font();
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, 18, Width, 30), Qt::AlignCenter, QStringLiteral("?"));
    PaintFrame(p);
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}
