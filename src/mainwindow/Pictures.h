#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The pictures the main window draws for itself: the eight toolbar pictures and the card shapes.
namespace pictures {

// Toolbar picture 1 to 8 (1 Personal, 2 Password, 3 Edit, 4 Delete, 5 travel, 6 Web, 7 Credit,
// 8 exit), with 16 and 32 pixel renderings so it stays crisp on dense screens. Null outside 1-8.
QIcon ToolbarPicture(int number);
// The key of a toolbar picture, empty for the two pictures without one.
QString ToolbarPictureKey(int number);

// A plain card shape carrying the name of card kind 0 to 3, at size in device-independent pixels
// for a screen of the given pixel ratio. Kind 4 ("Other") has no picture.
QPixmap CardPicture(int index, const QSize& size, qreal devicePixelRatio);
QString CardName(int index);

} // namespace pictures
