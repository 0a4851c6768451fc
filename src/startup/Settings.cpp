#include "Settings.h"

#include "SettingsStore.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <cmath>

namespace settings {

namespace {

// Far beyond any desktop, yet well inside int once converted to pixels.
constexpr double kLargestTwips = 15.0e6;

} // namespace

QString GetSetting(const QString& key, const QString& defaultValue)
{
    return platform::GetSetting(kApplication, kSection, key, defaultValue);
}

bool SaveSetting(const QString& key, const QString& value)
{
    return platform::SaveSetting(kApplication, kSection, key, value);
}

bool IsOn(const QString& text)
{
    return text == QLatin1String("1");
}

int ReadLockIdleMinutes()
{
    bool number = false;
    const int minutes = GetSetting(kLockIdleMinutes, QStringLiteral("0")).toInt(&number);
    return number && minutes >= 0 && minutes <= 24 * 60 ? minutes : 0;
}

bool SaveLockIdleMinutes(int minutes)
{
    return SaveSetting(kLockIdleMinutes, QString::number(minutes));
}

int ReadClipboardSeconds()
{
    bool number = false;
    const int seconds = GetSetting(kClipboardSeconds, QStringLiteral("10")).toInt(&number);
    return number && seconds >= 0 && seconds <= 60 * 60 ? seconds : 10;
}

int ReadGeneratorLength()
{
    bool number = false;
    const int length = GetSetting(kGeneratorLength, QStringLiteral("20")).toInt(&number);
    return number && length >= 8 && length <= 128 ? length : 20;
}

bool SaveGeneratorLength(int length)
{
    return SaveSetting(kGeneratorLength, QString::number(length));
}

QString ReadGeneratorClasses()
{
    QString classes;
    for (const QChar c : GetSetting(kGeneratorClasses, QString())) {
        if (QStringLiteral("ulds").contains(c) && !classes.contains(c)) {
            classes += c;
        }
    }
    return classes.isEmpty() ? QStringLiteral("ulds") : classes;
}

bool SaveGeneratorClasses(const QString& classes)
{
    return SaveSetting(kGeneratorClasses, classes);
}

QString ReadSplashScreen()
{
    return GetSetting(kSplashScreen, QStringLiteral("1"));
}

Flags ReadFlags()
{
    Flags flags;
    flags[Lock] = GetSetting(kLock, QStringLiteral("0"));
    flags[ViewPasswords] = GetSetting(kViewPasswords, QStringLiteral("1"));
    flags[SplashScreen] = GetSetting(kSplashScreen, QStringLiteral("1"));
    flags[AlwaysOnTop] = GetSetting(kAlwaysOnTop, QStringLiteral("1"));
    return flags;
}

std::optional<int> TwipsTextToPixels(const QString& text)
{
    bool ok = false;
    const double twips = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(twips) || std::fabs(twips) > kLargestTwips) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

QString PixelsToTwipsText(int pixels)
{
    return QString::number(static_cast<qint64>(pixels) * kTwipsPerPixel);
}

QPoint ReadMainPosition(const QPoint& current)
{
    const auto left = TwipsTextToPixels(GetSetting(kMainLeft, PixelsToTwipsText(current.x())));
    const auto top = TwipsTextToPixels(GetSetting(kMainTop, PixelsToTwipsText(current.y())));
    return {left.value_or(current.x()), top.value_or(current.y())};
}

QPoint ReachablePosition(const QRect& frame, int titleBarHeight, const QList<QRect>& screens, const QRect& primary)
{
    const QRect titleBar(frame.topLeft(), QSize(frame.width(), qMax(1, titleBarHeight)));
    for (const QRect& screen : screens) {
        if (screen.intersects(titleBar)) {
            return frame.topLeft();
        }
    }
    if (primary.isEmpty()) {
        return frame.topLeft();
    }
    // Centred, but never with the title bar above or left of the screen's top-left corner.
    QRect placed(QPoint(0, 0), frame.size());
    placed.moveCenter(primary.center());
    return {qMax(primary.left(), placed.left()), qMax(primary.top(), placed.top())};
}

QPoint ReachablePosition(const QWidget* window, const QPoint& topLeft)
{
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens << screen->availableGeometry();
    }
    const QScreen* primaryScreen = QGuiApplication::primaryScreen();
    const QRect primary = primaryScreen != nullptr ? primaryScreen->availableGeometry() : QRect();

    // Before the window is first shown its frame is unknown; the style's title bar is the guess.
    int titleBarHeight = window->geometry().top() - window->frameGeometry().top();
    if (titleBarHeight <= 0) {
        titleBarHeight = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    }
    const QRect frame(topLeft, window->frameGeometry().size());
    return ReachablePosition(frame, titleBarHeight, screens, primary);
}

QPoint MainWindowPosition(const QWidget* window)
{
    if (!GetSetting(kMainLeft, QString()).isEmpty() || !GetSetting(kMainTop, QString()).isEmpty()) {
        return ReachablePosition(window, ReadMainPosition(window->pos()));
    }
    // No screen holds the window yet, so it is placed as an unreachable one is: centred.
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary == nullptr ? window->pos()
                              : ReachablePosition(window->frameGeometry(), 1, {}, primary->availableGeometry());
}

QList<QPair<QString, QString>> SettingsToWrite(bool minimised, const QPoint& topLeft, const Flags& flags)
{
    QList<QPair<QString, QString>> entries;
    // A minimised window's position means nothing; the one stored before stays.
    if (!minimised) {
        entries.append({kMainLeft, PixelsToTwipsText(topLeft.x())});
        entries.append({kMainTop, PixelsToTwipsText(topLeft.y())});
    }
    entries.append({kLock, flags[Lock]});
    entries.append({kViewPasswords, flags[ViewPasswords]});
    entries.append({kSplashScreen, flags[SplashScreen]});
    entries.append({kAlwaysOnTop, flags[AlwaysOnTop]});
    return entries;
}

bool WriteSettings(bool minimised, const QPoint& topLeft, const Flags& flags)
{
    bool allWritten = true;
    for (const auto& [key, value] : SettingsToWrite(minimised, topLeft, flags)) {
        allWritten = SaveSetting(key, value) && allWritten;
    }
    return allWritten;
}

} // namespace settings
