#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// Pictures drawn by the program itself, so that nothing of anyone's artwork is shipped.

// The band down the left side of an edit dialog, carrying the dialog's subject upright.
QPixmap titlePicture(const QString& subject, QSize size);

// A plain card shape carrying the name of card type 1 to 4 ("MasterCard", "Visa", "American
// Express", "Discover"); a null pixmap for any other type (type 5, "Other", is a caption).
QPixmap cardPicture(int cardType, QSize size);

// The name of card type 1 to 5, empty for any other.
QString cardTypeName(int cardType);
