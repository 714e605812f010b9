// The window's height and maximized state, remembered beside its position;
// a stored height never takes the window past its screen.
#include "window/frmEditor.h"

#include "platform/qt/ScreenUnits.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace zuno {

namespace {
const QString HeightKey = QStringLiteral("Height");
const QString MaximizedKey = QStringLiteral("Maximized");
} // namespace

void frmEditor::restorePlacement()
{
    const double twips = readStoredNumber(m_settings.read(SettingsApplication, SettingsSection, HeightKey, QString()));
    if (twips > 0) {
        int height = int(std::lround(twipsToPixelsY(twips)));
        const QScreen *screen = screenUnderWindow();
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        if (screen) {
            const QRect available = screen->availableGeometry();
            const int frame = frameGeometry().height() - geometry().height();
            height = std::min(height, available.height() - frame);
            // Up the screen as far as it must go for the bottom to show.
            const QRect outer = frameGeometry();
            const int bottom = outer.y() + frame + height;
            if (bottom > available.bottom() + 1)
                move(outer.x(), std::max(available.top(), available.bottom() + 1 - frame - height));
        }
        resize(geometry().width(), std::max(height, minimumSizeHint().height()));
    }
    if (m_settings.read(SettingsApplication, SettingsSection, MaximizedKey, QString()) == QStringLiteral("1"))
        setWindowState(Qt::WindowState::WindowMaximized);
}

void frmEditor::storePlacement()
{
    if (isMinimized())
        return;
    const bool maximized = isMaximized() || isFullScreen();
    const int height = maximized ? normalGeometry().height() : geometry().height();
    m_settings.write(SettingsApplication, SettingsSection, HeightKey, storedNumberText(pixelsToTwipsY(height)));
    m_settings.write(SettingsApplication, SettingsSection, MaximizedKey,
                     maximized ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace zuno
