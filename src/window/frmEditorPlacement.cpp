// Where the window stands: its place in twips and the screen it is on, the
// height and maximized state remembered beside its position (a stored
// height never takes it past its screen), a new window placed clear of the
// other ZUNOPad windows, and the least width that shows the menu titles and
// the status bar's fields whole.
#include "window/frmEditor.h"

#include "platform/qt/ScreenUnits.h"

#include <QGuiApplication>
#include <QWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSizeGrip>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionMenuItem>

#include <algorithm>
#include <cmath>

namespace zuno {

namespace {
const QString HeightKey = QStringLiteral("Height");
const QString MaximizedKey = QStringLiteral("Maximized");
} // namespace

void frmEditor::setPeers(IPeerWindows &peers)
{
    m_peers = &peers;
    m_shell->setPeers(&peers);
    connect(this, &QWidget::windowTitleChanged, this, [this] { m_peers->hold(m_shell->filePath()); });
}

void frmEditor::placeClearOfPeers()
{
    const QScreen *screen = screenUnderWindow();
    if (!m_peers || !screen || windowState() != WindowState::Normal)
        return;
    // One title bar's height down and to the right of a window in the way.
    const int step = std::max(24, menuBar()->sizeHint().height() + 8);
    const QRect frame = frameGeometry();
    const QPoint at = cascadedPlace(frame.topLeft(), m_peers->places(), frame.size(), screen->availableGeometry(), step);
    if (at != frame.topLeft())
        placeFrameAt(at);
    keepOnScreen();
}

std::optional<double> frmEditor::leastWidth() const
{
    // As the menu bar lays its titles out, one beside the next.
    const QMenuBar *bar = menuBar();
    const QStyle *style = bar->style();
    int menus = 2 * (style->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, bar)
                     + style->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, bar));
    const int spacing = style->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, bar);
    for (QAction *title : bar->actions()) {
        if (!title->isVisible())
            continue;
        QStyleOptionMenuItem option;
        option.initFrom(bar);
        option.text = title->text();
        option.menuItemType = QStyleOptionMenuItem::Normal;
        const QSize text = style->itemTextRect(bar->fontMetrics(), QRect(), Qt::TextShowMnemonic, true,
                                               title->text()).size();
        menus += style->sizeFromContents(QStyle::CT_MenuBarItem, &option, text, bar).width() + spacing;
    }
    // The fields at the status bar's right end, with the room between them.
    int fields = 0;
    if (const QStatusBar *status = statusBar(); !status->isHidden()) {
        const int gap = std::max(0, status->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing));
        for (const QWidget *field : status->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!field->isHidden())
                fields += field->sizeHint().width() + gap + (qobject_cast<const QSizeGrip *>(field) ? 0 : 4);
        }
    }
    return pixelsToTwipsX(std::max(menus, fields) + frameExtraWidth());
}

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
                placeFrameAt(QPoint(outer.x(), std::max(available.top(), available.bottom() + 1 - frame - height)));
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

void frmEditor::setTop(double twips)
{
    placeFrameAt(QPoint(frameGeometry().x(), int(std::lround(twipsToPixelsY(twips)))));
}

void frmEditor::setLeft(double twips)
{
    placeFrameAt(QPoint(int(std::lround(twipsToPixelsX(twips))), frameGeometry().y()));
}

// The frame's corner at `corner`. A window whose native window exists but
// has not been shown (a question was asked on top of it) does not know its
// frame yet: a plain move would put its inner corner there and the title
// bar above it, so its window is told that the place includes the frame.
// Once shown, the place is checked again when the frame is known.
void frmEditor::placeFrameAt(QPoint corner)
{
    if (isVisible()) {
        move(corner);
        return;
    }
    m_placeBeforeShow = corner;
    if (testAttribute(Qt::WA_WState_Created) && windowHandle())
        windowHandle()->setFramePosition(corner);
    else
        move(corner);
}

// The screen the window stands on: the one under its title bar, else the
// one Qt places it on.
const QScreen *frmEditor::screenUnderWindow() const
{
    const QRect frame = frameGeometry();
    // A point well inside the title bar.
    const QPoint titleBar(frame.x() + std::min(frame.width() / 2, 60), frame.y() + 8);
    if (const QScreen *under = QGuiApplication::screenAt(titleBar))
        return under;
    return nullptr;
}

std::optional<double> frmEditor::availableWidth() const
{
    const QScreen *screen = screenUnderWindow();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    return pixelsToTwipsX(screen->availableGeometry().width());
}

void frmEditor::keepOnScreen()
{
    const QScreen *screen = screenUnderWindow();
    if (!screen) {
        if (const QScreen *primary = QGuiApplication::primaryScreen())
            placeFrameAt(primary->availableGeometry().topLeft());
        return;
    }
    // Every edge inside the screen's available area, the title bar first.
    const QRect available = screen->availableGeometry();
    const QRect frame = frameGeometry();
    const int extraHeight = frame.height() - geometry().height();
    if (frame.height() > available.height())
        resize(geometry().width(), std::max(1, available.height() - extraHeight));
    const QSize outer(frame.width(), std::min(frame.height(), available.height()));
    const int x = std::max(available.left(), std::min(frame.x(), available.right() + 1 - outer.width()));
    const int y = std::max(available.top(), std::min(frame.y(), available.bottom() + 1 - outer.height()));
    if (x != frame.x() || y != frame.y())
        placeFrameAt(QPoint(x, y));
}

} // namespace zuno
