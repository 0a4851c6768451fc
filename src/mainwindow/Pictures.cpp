#include "Pictures.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace pictures {

namespace {

// Every picture is drawn on a 16-unit grid and scaled, so the 32 pixel rendering is the same
// drawing at twice the resolution rather than an enlarged bitmap.
using Painter = void (*)(QPainter&);

void person(QPainter& p)
{
    p.setPen(QPen(QColor(40, 60, 110), 1));
    p.setBrush(QColor(90, 130, 200));
    p.drawEllipse(QRectF(5, 1.5, 6, 6));
    QPainterPath body;
    body.moveTo(2, 15);
    body.cubicTo(2, 9, 14, 9, 14, 15);
    body.closeSubpath();
    p.drawPath(body);
}

void key(QPainter& p)
{
    p.setPen(QPen(QColor(120, 90, 10), 1));
    p.setBrush(QColor(230, 190, 50));
    p.drawEllipse(QRectF(1.5, 4.5, 7, 7));
    p.drawRect(QRectF(8, 7, 7, 2));
    p.drawRect(QRectF(11, 9, 1.5, 3));
    p.drawRect(QRectF(13.5, 9, 1.5, 2.5));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(3.5, 6.5, 2.5, 2.5));
}

void pencil(QPainter& p)
{
    p.translate(8, 8);
    p.rotate(-45);
    p.setPen(QPen(QColor(60, 60, 60), 0.8));
    p.setBrush(QColor(240, 180, 40));
    p.drawRect(QRectF(-5, -2, 9, 4));
    p.setBrush(QColor(230, 120, 140));
    p.drawRect(QRectF(4, -2, 2.5, 4));
    p.setBrush(QColor(245, 220, 170));
    QPolygonF tip;
    tip << QPointF(-5, -2) << QPointF(-8, 0) << QPointF(-5, 2);
    p.drawPolygon(tip);
}

void cross(QPainter& p)
{
    p.setPen(QPen(QColor(200, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void suitcase(QPainter& p)
{
    p.setPen(QPen(QColor(90, 50, 20), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(5.5, 2.5, 5, 3), 1, 1);
    p.setBrush(QColor(170, 100, 50));
    p.drawRoundedRect(QRectF(1.5, 5, 13, 9), 1.5, 1.5);
    p.drawLine(QPointF(1.5, 9), QPointF(14.5, 9));
}

void globe(QPainter& p)
{
    p.setPen(QPen(QColor(20, 80, 140), 1));
    p.setBrush(QColor(120, 180, 235));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(5, 1.5, 6, 13));
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
    p.drawLine(QPointF(3, 4.5), QPointF(13, 4.5));
    p.drawLine(QPointF(3, 11.5), QPointF(13, 11.5));
}

void card(QPainter& p)
{
    p.setPen(QPen(QColor(30, 90, 50), 1));
    p.setBrush(QColor(80, 170, 110));
    p.drawRoundedRect(QRectF(0.5, 3.5, 15, 10), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 40, 40));
    p.drawRect(QRectF(0.5, 5.5, 15, 2));
    p.setBrush(QColor(240, 210, 90));
    p.drawRect(QRectF(2.5, 9.5, 4, 2.5));
}

void door(QPainter& p)
{
    p.setPen(QPen(QColor(70, 50, 30), 1));
    p.setBrush(QColor(150, 110, 70));
    p.drawRect(QRectF(2.5, 1.5, 7, 13));
    p.setBrush(QColor(250, 230, 120));
    p.drawEllipse(QRectF(7, 7.5, 1.5, 1.5));
    p.setPen(QPen(QColor(20, 120, 40), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(10, 8), QPointF(15, 8));
    p.drawLine(QPointF(12.5, 5.5), QPointF(15, 8));
    p.drawLine(QPointF(12.5, 10.5), QPointF(15, 8));
}

constexpr std::array<Painter, 8> kPainters{person, key, pencil, cross, suitcase, globe, card, door};

QPixmap render(Painter paint, int pixels)
{
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(pixels / 16.0, pixels / 16.0);
    paint(p);
    return pixmap;
}

} // namespace

QIcon ToolbarPicture(int number)
{
    if (number < 1 || number > static_cast<int>(kPainters.size())) {
        return {};
    }
    QIcon icon;
    for (const int pixels : {16, 24, 32}) {
        icon.addPixmap(render(kPainters[static_cast<size_t>(number - 1)], pixels));
    }
    return icon;
}

QString ToolbarPictureKey(int number)
{
    static const std::array<const char*, 8> keys{"Personal", "Password", "Edit", "Delete", "", "Web", "Credit", ""};
    if (number < 1 || number > 8) {
        return {};
    }
    return QString::fromLatin1(keys[static_cast<size_t>(number - 1)]);
}

QString CardName(int index)
{
    static const std::array<const char*, 5> names{"MasterCard", "Visa", "American Express", "Discover", "Other"};
    if (index < 0 || index > 4) {
        return {};
    }
    return QString::fromLatin1(names[static_cast<size_t>(index)]);
}

QPixmap CardPicture(int index, const QSize& size, qreal devicePixelRatio)
{
    static const std::array<QColor, 4> colours{QColor(200, 70, 40), QColor(30, 60, 150), QColor(40, 120, 160),
                                               QColor(220, 120, 30)};
    if (index < 0 || index > 3 || size.isEmpty()) {
        return {};
    }
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(colours[static_cast<size_t>(index)].darker(150), 1));
    p.setBrush(colours[static_cast<size_t>(index)]);
    p.drawRoundedRect(shape, 3, 3);

    // The name in white, as large as fits, on two lines when it has two words.
    QString name = CardName(index);
    name.replace(QLatin1Char(' '), QLatin1Char('\n'));
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    const QRectF text = shape.adjusted(2, 1, -2, -1);
    for (int points = 9; points >= 4; --points) {
        font.setPixelSize(points);
        const QRectF needed = QFontMetricsF(font).boundingRect(text, Qt::AlignCenter, name);
        if (needed.width() <= text.width() && needed.height() <= text.height()) {
            break;
        }
    }
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(text, Qt::AlignCenter, name);
    return pixmap;
}

} // namespace pictures
