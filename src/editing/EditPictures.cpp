#include "EditPictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

QPixmap titlePicture(const QString& subject, QSize size, qreal devicePixelRatio)
{
    if (size.isEmpty()) {
        return {};
    }
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, 0, size.height());
    band.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    band.setColorAt(1, QColor(0x6a, 0x9f, 0xcf));
    painter.fillRect(QRect(QPoint(0, 0), size), band);
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
