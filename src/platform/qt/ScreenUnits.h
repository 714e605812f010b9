#pragma once
// Twips against pixels through the screen's logical resolution.
#include "platform/Units.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

namespace zuno {

inline double logicalDpiX()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}
inline double logicalDpiY()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}
inline double twipsToPixelsX(double twips) { return twips * logicalDpiX() / TwipsPerInch; }
inline double twipsToPixelsY(double twips) { return twips * logicalDpiY() / TwipsPerInch; }
inline double pixelsToTwipsX(double pixels) { return pixels * TwipsPerInch / logicalDpiX(); }
inline double pixelsToTwipsY(double pixels) { return pixels * TwipsPerInch / logicalDpiY(); }

// Twips rounded to whole pixels.
inline int twipsToWholePixelsX(double twips) { return qRound(twipsToPixelsX(twips)); }
inline int twipsToWholePixelsY(double twips) { return qRound(twipsToPixelsY(twips)); }

// The dialogs' layouts in twips were made for a narrow 8-point face; in
// the system's wider default their captions would be cut off. Liberation
// Sans has the narrow metrics where it is installed.
inline QFont dialogFont()
{
    QFont font = QGuiApplication::font();
    if (QFontDatabase::families().contains(QStringLiteral("Liberation Sans")))
        font.setFamily(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.0);
    return font;
}

} // namespace zuno
