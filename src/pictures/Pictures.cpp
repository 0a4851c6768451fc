#include "Pictures.h"

#include <QPainter>
#include <QSvgRenderer>

#include <array>

// Outside any namespace, as the resource initialiser requires.
static void initPictureResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    Q_UNUSED(done);
}

namespace pictures {

namespace {

QString resource(const char* name)
{
    initPictureResources();
    return QStringLiteral(":/pictures/") + QLatin1String(name) + QStringLiteral(".svg");
}

} // namespace

QIcon ProgramIcon()
{
    return QIcon(resource("corvanta"));
}

QIcon Logo()
{
    return QIcon(resource("logo"));
}

QIcon ToolbarPicture(int number)
{
    static const std::array<const char*, 8> names{"personal", "password", "edit",   "delete",
                                                  "travel",   "web",      "credit", "exit"};
    if (number < 1 || number > static_cast<int>(names.size())) {
        return {};
    }
    return QIcon(resource(names[static_cast<size_t>(number - 1)]));
}

QString CardTypeName(int cardType)
{
    static const std::array<const char*, 5> names{"MasterCard", "Visa", "American Express", "Discover", "Other"};
    if (cardType < 1 || cardType > static_cast<int>(names.size())) {
        return {};
    }
    return QLatin1String(names[static_cast<size_t>(cardType - 1)]);
}

QString CardResource(int cardType)
{
    static const std::array<const char*, 4> names{"card-1", "card-2", "card-3", "card-4"};
    if (cardType < 1 || cardType > static_cast<int>(names.size())) {
        return {};
    }
    return resource(names[static_cast<size_t>(cardType - 1)]);
}

QIcon CardPicture(int cardType)
{
    const QString path = CardResource(cardType);
    return path.isEmpty() ? QIcon() : QIcon(path);
}

QPixmap CardPixmap(int cardType, const QSize& size, qreal devicePixelRatio)
{
    const QString path = CardResource(cardType);
    if (path.isEmpty() || size.isEmpty()) {
        return {};
    }
    QSvgRenderer drawing(path);
    const QSize card = drawing.defaultSize().scaled(size, Qt::KeepAspectRatio);
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QPointF corner((size.width() - card.width()) / 2.0, (size.height() - card.height()) / 2.0);
    drawing.render(&painter, QRectF(corner, QSizeF(card)));
    return pixmap;
}

} // namespace pictures
