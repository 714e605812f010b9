#include "platform/qt/DialogLook.h"

#include "platform/qt/ScreenUnits.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace zuno {

namespace {

// Pixels between a label's end and its box, and around a button's caption.
constexpr int LabelGap = 4;
constexpr int ButtonPadding = 8;
// The size of face the twip layouts were made for.
constexpr double DesignPoints = 8.0;
// Steps of the search for a scale, and where it gives up.
constexpr double ScaleStep = 1.0 / 32;
constexpr double LargestScale = 8.0;

const char *const TwipsProperty = "zunoTwips";
const char *const ScaleProperty = "zunoDialogScale";

QString shown(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

bool isControl(const QWidget *widget)
{
    return qobject_cast<const QLabel *>(widget) || qobject_cast<const QLineEdit *>(widget)
        || qobject_cast<const QAbstractButton *>(widget);
}

// Width the control's caption needs in `font`; 0 for a box.
int neededWidth(const QWidget &control, const QFont &font)
{
    const QFontMetrics metrics(font);
    if (auto *label = qobject_cast<const QLabel *>(&control))
        return metrics.horizontalAdvance(shown(label->text()));
    if (auto *check = qobject_cast<const QCheckBox *>(&control)) {
        const QStyle *style = check->style();
        return style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, check)
            + style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, check)
            + metrics.horizontalAdvance(shown(check->text()));
    }
    if (auto *button = qobject_cast<const QPushButton *>(&control))
        return metrics.horizontalAdvance(shown(button->text())) + ButtonPadding;
    return 0;
}

// Width the window manager needs to show `title` whole: the text in a bold
// face of the desktop's size, and room for the frame's icon and buttons.
int titleWidth(const QString &title)
{
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int button = metrics.height() + 8;
    return metrics.horizontalAdvance(title) + 4 * button;
}

double desktopPoints()
{
    const QFont desktop = QApplication::font();
    if (desktop.pointSizeF() > 0)
        return desktop.pointSizeF();
    return desktop.pixelSize() * 72.0 / logicalDpiY();
}

QRect scaledRect(const QRectF &twips, double scale)
{
    const int x = qRound(twipsToPixelsX(twips.left() * scale));
    const int y = qRound(twipsToPixelsY(twips.top() * scale));
    return QRect(x, y, qRound(twipsToPixelsX(twips.right() * scale)) - x,
                 qRound(twipsToPixelsY(twips.bottom() * scale)) - y);
}

QRectF twipsOf(const QWidget &control)
{
    return control.property(TwipsProperty).toRectF();
}

// Where the layout puts `control` at `scale`; a label stops a little before
// the box it names when that stands on its row.
QRect placeAt(const QWidget &control, double scale)
{
    QRect place = scaledRect(twipsOf(control), scale);
    auto *label = qobject_cast<const QLabel *>(&control);
    const QWidget *box = label ? label->buddy() : nullptr;
    if (box && box->property(TwipsProperty).isValid()) {
        const QRect boxPlace = scaledRect(twipsOf(*box), scale);
        if (boxPlace.y() < place.bottom() && boxPlace.bottom() > place.y())
            place.setRight(boxPlace.x() - LabelGap - 1);
    }
    return place;
}

} // namespace

void placeTwips(QWidget &control, double left, double top, double width, double height)
{
    control.setProperty(TwipsProperty, QRectF(left, top, width, height));
    const QWidget *dialog = control.window();
    control.setGeometry(placeAt(control, dialog ? dialogScale(*dialog) : 1.0));
}

void moveTwips(QWidget &control, double left, double top)
{
    QRectF twips = twipsOf(control);
    twips.moveTopLeft(QPointF(left, top));
    placeTwips(control, twips.left(), twips.top(), twips.width(), twips.height());
}

double dialogScale(const QWidget &dialog)
{
    const QVariant scale = dialog.property(ScaleProperty);
    return scale.isValid() ? scale.toDouble() : 1.0;
}

int dialogPixelsX(const QWidget &dialog, double twips)
{
    return qRound(twipsToPixelsX(twips * dialogScale(dialog)));
}

int dialogPixelsY(const QWidget &dialog, double twips)
{
    return qRound(twipsToPixelsY(twips * dialogScale(dialog)));
}

void settleDialogLook(QWidget &dialog)
{
    QList<QWidget *> controls;
    for (QWidget *child : dialog.findChildren<QWidget *>())
        if (isControl(child))
            controls << child;

    QFont font = dialogFont();
    const double points = desktopPoints();
    font.setPointSizeF(points);

    // The dialog's width in twips is that of its widest placed control's
    // right edge plus the same margin as on the left.
    double widthTwips = 0;
    for (const QWidget *control : controls)
        if (control->property(TwipsProperty).isValid())
            widthTwips = std::max(widthTwips, twipsOf(*control).right() + twipsOf(*control).left());

    double scale = std::max(1.0, points / DesignPoints);
    for (; scale < LargestScale; scale += ScaleStep) {
        const bool captionsFit = std::all_of(controls.begin(), controls.end(), [&](const QWidget *c) {
            return !c->property(TwipsProperty).isValid() || neededWidth(*c, font) <= placeAt(*c, scale).width();
        });
        const bool titleFits = twipsToPixelsX(widthTwips * scale) >= titleWidth(dialog.windowTitle());
        if (captionsFit && titleFits)
            break;
    }
    dialog.setProperty(ScaleProperty, scale);

    // Set on each control, so that no style's own font for a class of
    // controls (buttons, say) makes a second face.
    dialog.setFont(font);
    for (QWidget *control : controls) {
        control->setFont(font);
        if (control->property(TwipsProperty).isValid())
            control->setGeometry(placeAt(*control, scale));
        if (auto *label = qobject_cast<QLabel *>(control); label && label->buddy()
            && label->buddy()->accessibleName().isEmpty()) {
            QString name = shown(label->text()).trimmed();
            if (name.endsWith(QLatin1Char(':')))
                name.chop(1);
            label->buddy()->setAccessibleName(name);
        }
    }
}

} // namespace zuno
