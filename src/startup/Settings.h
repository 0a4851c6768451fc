#pragma once

#include <QList>
#include <QPair>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <optional>

class QWidget;

// The preferences kept between runs, in the per-user store of application "Corvanta",
// section "Settings". Every value is a text; a flag is on exactly when its text is "1".
namespace settings {

inline const QString kApplication = QStringLiteral("Corvanta");
inline const QString kSection = QStringLiteral("Settings");

inline const QString kSplashScreen = QStringLiteral("SplashScreen");
inline const QString kMainLeft = QStringLiteral("MainLeft");
inline const QString kMainTop = QStringLiteral("MainTop");
inline const QString kLock = QStringLiteral("Lock");
inline const QString kViewPasswords = QStringLiteral("ViewPasswords");
inline const QString kAlwaysOnTop = QStringLiteral("AlwaysOnTop");
inline const QString kLockIdleMinutes = QStringLiteral("LockIdleMinutes");
inline const QString kClipboardSeconds = QStringLiteral("ClipboardSeconds");
inline const QString kGeneratorLength = QStringLiteral("GeneratorLength");
inline const QString kGeneratorClasses = QStringLiteral("GeneratorClasses");

// Positions are stored in twips; the screen has 15 of them to the pixel.
constexpr int kTwipsPerPixel = 15;

// The main window's in-memory copies of the four flags (its istr_Settings), in this order.
enum FlagIndex { Lock = 0, ViewPasswords = 1, SplashScreen = 2, AlwaysOnTop = 3 };
using Flags = std::array<QString, 4>;

QString GetSetting(const QString& key, const QString& defaultValue);
bool SaveSetting(const QString& key, const QString& value);

// On exactly for "1"; "0", "", " 1", "true" and everything else are off.
bool IsOn(const QString& text);

// "SplashScreen", as start-up reads it before anything else (default "1").
QString ReadSplashScreen();
// The four flags with their defaults: Lock "0", ViewPasswords "1", SplashScreen "1",
// AlwaysOnTop "1".
Flags ReadFlags();

// "LockIdleMinutes": minutes without input before the program locks, "0" (the default) for never.
// Anything but a whole number from 0 to a day's minutes counts as "0".
int ReadLockIdleMinutes();
// Stored at once: the choice is made from its own menu, not kept with the four flags.
bool SaveLockIdleMinutes(int minutes);

// "ClipboardSeconds": how long a copied password, PIN or card number stays on the clipboard, "0"
// for until the program locks or ends. Anything but a whole number from 0 to an hour's seconds
// counts as the default, "10".
int ReadClipboardSeconds();

// The password generator's choices, stored at once when the person makes them.
// "GeneratorLength": 8 to 128, default "20"; anything else counts as the default.
int ReadGeneratorLength();
bool SaveGeneratorLength(int length);
// "GeneratorClasses": the letters of the character classes drawn from ("u" upper case, "l" lower
// case, "d" digits, "s" symbols), default "ulds". Unknown letters are ignored; none left counts as
// the default.
QString ReadGeneratorClasses();
bool SaveGeneratorClasses(const QString& classes);

// A stored position in twips as pixels; nothing when the text is not a number the screen could
// hold (a hand-edited or damaged store).
std::optional<int> TwipsTextToPixels(const QString& text);
QString PixelsToTwipsText(int pixels);
// The main window's stored top-left corner in pixels; each coordinate falls back to current
// when it is absent or not a number.
QPoint ReadMainPosition(const QPoint& current);

// A stored position is applied as it is, also when part of the window lies off every screen,
// as long as some of its title bar is on a screen, where the user can grab it. Otherwise (a
// screen was removed, the store was edited) the window would be beyond reach: it goes to the
// middle of the primary screen instead. frame is the window's outer rectangle at the stored
// position; screens and primary are available areas.
QPoint ReachablePosition(const QRect& frame, int titleBarHeight, const QList<QRect>& screens, const QRect& primary);
// The same for a window and the screens of this desktop.
QPoint ReachablePosition(const QWidget* window, const QPoint& topLeft);
// Where the main window opens: its stored position, made reachable; with none stored (a first
// start), the middle of the primary screen.
QPoint MainWindowPosition(const QWidget* window);

// What the main window's unload writes, in the order it is written: the position unless the
// window is minimised, then Lock, ViewPasswords, SplashScreen, AlwaysOnTop.
QList<QPair<QString, QString>> SettingsToWrite(bool minimised, const QPoint& topLeft, const Flags& flags);
// Writes them; false when the store could not be written (never shown to the user).
bool WriteSettings(bool minimised, const QPoint& topLeft, const Flags& flags);

} // namespace settings
