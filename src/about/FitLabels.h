#pragma once

class QWidget;

namespace about {

// Makes every label of a window of fixed layout show its whole text with the fonts at hand: a
// text too wide for its label wraps, a label too short for its lines grows downwards, and what
// lies below it moves down with it; a word longer than its label widens the label. The window
// grows to hold it all and keeps that fixed size.
void FitLabels(QWidget* window);

} // namespace about
