#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

// Every window of the program but the main one, made by the key the tests use for it.
namespace accesscheck {

QStringList windowKeys();
std::unique_ptr<QWidget> makeWindow(const QString& key);
// Shows the window and makes it the active one; false when the platform would not.
bool showActive(QWidget* window);

} // namespace accesscheck
