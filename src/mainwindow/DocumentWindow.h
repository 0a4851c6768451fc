#pragma once

#include <QString>

class QWidget;

// Shows one of the program's documents (a web page or plain text) in a window of the program,
// for a desktop with no program to open it. The window belongs to owner and goes with it.
void ShowDocumentWindow(const QString& file, QWidget* owner);
