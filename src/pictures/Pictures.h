#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// The program's pictures, one set of scalable drawings: whatever the screen's scale, each is
// drawn at the pixels it is shown with, never enlarged from a small bitmap.
namespace pictures {

// The program icon: windows, the About box, the splash window, the tray.
QIcon ProgramIcon();
// The program's logo for the splash window, 341 by 101 in its own proportions.
QIcon Logo();

// Toolbar picture 1 to 8 (1 Personal, 2 Password, 3 Edit, 4 Delete, 5 Travel, 6 Web, 7 Credit,
// 8 Exit). Null outside 1-8.
QIcon ToolbarPicture(int number);

// The name of card type 1 to 5 ("MasterCard", "Visa", "American Express", "Discover", "Other"),
// empty for any other.
QString CardTypeName(int cardType);
// A card shape carrying the name of card type 1 to 4; null for any other (type 5, "Other", has
// no picture, only its name).
QIcon CardPicture(int cardType);
// The card picture drawn for a label: as large as fits in size (device-independent pixels),
// centred, keeping a card's proportions, at the screen's pixel ratio.
QPixmap CardPixmap(int cardType, const QSize& size, qreal devicePixelRatio);

// The resource path of card type 1 to 4's picture, empty for any other.
QString CardResource(int cardType);

} // namespace pictures
