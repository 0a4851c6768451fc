#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// The band down the left side of an edit dialog, carrying the dialog's subject upright; size in
// device-independent pixels, drawn at the screen's pixel ratio.
QPixmap titlePicture(const QString& subject, QSize size, qreal devicePixelRatio = 1.0);
