#include "tools/portraits/BrandPainter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

const QColor kNight(0x14, 0x1E, 0x3C);
const QColor kDusk(0x5A, 0x2A, 0x5E);
const QColor kGold(0xF2, 0xC6, 0x4B);
const QColor kGoldDark(0x8A, 0x5E, 0x10);

// A heater shield with a "V", the mark of banner and icon alike.
void PaintShield(QPainter& p, const QRectF& box)
{
    const qreal w = box.width();
    const qreal h = box.height();
    QPainterPath shield;
    shield.moveTo(box.left(), box.top());
    shield.lineTo(box.right(), box.top());
    shield.lineTo(box.right(), box.top() + h * 0.45);
    shield.quadTo(box.right(), box.top() + h * 0.85, box.center().x(), box.bottom());
    shield.quadTo(box.left(), box.top() + h * 0.85, box.left(), box.top() + h * 0.45);
    shield.closeSubpath();
    QLinearGradient metal(box.topLeft(), box.bottomRight());
    metal.setColorAt(0, QColor(0xB8, 0x2A, 0x2A));
    metal.setColorAt(1, QColor(0x5E, 0x10, 0x14));
    p.setPen(QPen(kGold, qMax(1.0, w / 16)));
    p.setBrush(metal);
    p.drawPath(shield);
    QPainterPath vee;
    vee.moveTo(box.left() + w * 0.2, box.top() + h * 0.18);
    vee.lineTo(box.center().x(), box.top() + h * 0.78);
    vee.lineTo(box.right() - w * 0.2, box.top() + h * 0.18);
    p.setPen(QPen(kGold, qMax(2.0, w / 7), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(vee);
}

} // namespace

QImage BrandPainter::Banner(int scale)
{
    QImage image(420 * scale, 160 * scale, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale, scale);

    QLinearGradient sky(0, 0, 0, 160);
    sky.setColorAt(0, kNight);
    sky.setColorAt(1, kDusk);
    p.fillRect(image.rect(), sky);

    // A moon and a line of hills behind the name.
    QRadialGradient glow(QPointF(350, 40), 40);
    glow.setColorAt(0, QColor(0xFF, 0xF4, 0xD0));
    glow.setColorAt(0.5, QColor(0xE8, 0xD8, 0xA8));
    glow.setColorAt(1, QColor(0xE8, 0xD8, 0xA8, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(350, 40), 40, 40);
    QPainterPath hills;
    hills.moveTo(0, 160);
    hills.lineTo(0, 128);
    hills.cubicTo(70, 104, 130, 140, 210, 122);
    hills.cubicTo(290, 104, 350, 134, 420, 116);
    hills.lineTo(420, 160);
    hills.closeSubpath();
    p.setBrush(QColor(0x0C, 0x12, 0x24));
    p.drawPath(hills);

    PaintShield(p, QRectF(24, 26, 72, 92));

    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(64);
    title.setBold(true);
    p.setFont(title);
    const QRect titleBox(112, 22, 300, 80);
    p.setPen(QColor(0, 0, 0, 160));
    p.drawText(titleBox.translated(3, 3), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velkar"));
    p.setPen(kGold);
    p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velkar"));

    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(15);
    p.setFont(subtitle);
    p.setPen(QColor(0xE8, 0xE0, 0xF0));
    p.drawText(QRect(116, 98, 300, 22), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Character Editor"));
    p.setPen(QPen(kGoldDark, 2));
    p.drawLine(116, 124, 300, 124);
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage BrandPainter::AppIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn, not scaled, at every size: the shield as it stands in the 32-pixel icon.
    p.scale(size / 32.0, size / 32.0);
    PaintShield(p, QRectF(3, 1.5, 26, 29));
    p.end();
    return image;
}

QImage BrandPainter::Icon()
{
    // A palette of at most 256 colours, as the icon has always had.
    return AppIcon(32).convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
}
