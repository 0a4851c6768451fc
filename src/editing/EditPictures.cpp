#include "EditPictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>

namespace {

struct CardLook
{
    const char* name;
    QColor face;
    QColor text;
};

const std::array<CardLook, 4>& cardLooks()
{
    static const std::array<CardLook, 4> looks{{
        {"MasterCard", QColor(0x2b, 0x2d, 0x42), Qt::white},
        {"Visa", QColor(0x1a, 0x3f, 0x8f), Qt::white},
        {"American Express", QColor(0x3a, 0x8f, 0xb7), Qt::white},
        {"Discover", QColor(0xf2, 0xf0, 0xe6), QColor(0x40, 0x40, 0x40)},
    }};
    return looks;
}

// The largest bold Arial size at which text fits width, down to a readable minimum.
QFont fittingFont(const QString& text, int width, int height)
{
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    for (int pixels = height; pixels > 6; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(text) <= width) {
            break;
        }
    }
    return font;
}

} // namespace

QString cardTypeName(int cardType)
{
    if (cardType >= 1 && cardType <= 4) {
        return QLatin1String(cardLooks()[static_cast<std::size_t>(cardType - 1)].name);
    }
    return cardType == 5 ? QStringLiteral("Other") : QString();
}

QPixmap cardPicture(int cardType, QSize size)
{
    if (cardType < 1 || cardType > 4 || size.isEmpty()) {
        return {};
    }
    const CardLook& look = cardLooks()[static_cast<std::size_t>(cardType - 1)];
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(pixmap.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = size.height() / 8.0;
    painter.setPen(look.face.darker(140));
    painter.setBrush(look.face);
    painter.drawRoundedRect(card, radius, radius);
    // A stripe and a chip make it read as a card at any size.
    painter.setPen(Qt::NoPen);
    painter.setBrush(look.face.lighter(130));
    painter.drawRect(
        QRectF(card.left() + 1, card.top() + card.height() * 0.62, card.width() - 2, card.height() * 0.12));
    painter.setBrush(QColor(0xd8, 0xb9, 0x5a));
    painter.drawRoundedRect(QRectF(card.left() + card.width() * 0.1, card.top() + card.height() * 0.2,
                                   card.width() * 0.16, card.height() * 0.24),
                            1.5, 1.5);
    // A long name goes on two lines rather than shrinking out of reach.
    QString name = QLatin1String(look.name);
    const int textWidth = size.width() - 4;
    QFont font = fittingFont(name, textWidth, size.height() / 3);
    if (QFontMetrics(font).horizontalAdvance(name) > textWidth && name.contains(u' ')) {
        name.replace(name.indexOf(u' '), 1, u'\n');
        font = fittingFont(name.section(u'\n', 0, 0).size() >= name.section(u'\n', 1).size() ? name.section(u'\n', 0, 0)
                                                                                             : name.section(u'\n', 1),
                           textWidth, size.height() / 4);
    }
    painter.setFont(font);
    painter.setPen(look.text);
    painter.drawText(QRect(2, size.height() / 2 - 4, textWidth, size.height() / 2 + 4), Qt::AlignHCenter | Qt::AlignTop,
                     name);
    return pixmap;
}

QPixmap titlePicture(const QString& subject, QSize size)
{
    if (size.isEmpty()) {
        return {};
    }
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, 0, size.height());
    band.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    band.setColorAt(1, QColor(0x6a, 0x9f, 0xcf));
    painter.fillRect(pixmap.rect(), band);
    // The subject reads upwards from the bottom, as on a book's spine.
    painter.translate(size.width() / 2.0, size.height() - 10);
    painter.rotate(-90);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(std::max(10, size.width() / 2));
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255, 220));
    const QFontMetrics metrics(font);
    painter.drawText(QPointF(0, metrics.ascent() / 2.0 - metrics.descent() / 2.0), subject);
    return pixmap;
}
