#include "platform/qt/DialogLook.h"

#include "platform/qt/ScreenUnits.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace zuno {

namespace {

// Pixels between a label's end and its box, and around a button's caption.
constexpr int LabelGap = 4;
constexpr int ButtonPadding = 8;
constexpr double LargestPoints = 8.0;
constexpr double SmallestPoints = 6.0;

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

} // namespace

void settleDialogLook(QWidget &dialog)
{
    const QList<QWidget *> controls = [&] {
        QList<QWidget *> found;
        for (QWidget *child : dialog.findChildren<QWidget *>())
            if (isControl(child))
                found << child;
        return found;
    }();

    // A label ends a little before its box, wherever the layout has it.
    for (QWidget *control : controls) {
        auto *label = qobject_cast<QLabel *>(control);
        const QWidget *box = label ? label->buddy() : nullptr;
        if (!box || box->y() >= label->geometry().bottom() || box->geometry().bottom() <= label->y())
            continue; // not on the label's row
        QRect place = label->geometry();
        place.setRight(box->x() - LabelGap - 1);
        label->setGeometry(place);
    }

    QFont font = dialogFont();
    for (double points = LargestPoints; points >= SmallestPoints; points -= 0.25) {
        font.setPointSizeF(points);
        const bool fits = std::all_of(controls.begin(), controls.end(), [&](const QWidget *c) {
            return neededWidth(*c, font) <= c->width();
        });
        if (fits)
            break;
    }
    // Set on each control, so that no style's own font for a class of
    // controls (buttons, say) makes a second face.
    dialog.setFont(font);
    for (QWidget *control : controls)
        control->setFont(font);
}

} // namespace zuno
