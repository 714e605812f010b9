#pragma once
// What a user sees of a dialog's controls: one face throughout, every
// caption shown whole, and no label running into its box.
#include <QAbstractButton>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <gtest/gtest.h>

namespace zuno::test {

inline QString shownCaption(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

inline void expectOneFaceAndWholeCaptions(const QWidget &dialog)
{
    const QFontInfo face(dialog.font());
    const auto controls = dialog.findChildren<QWidget *>();
    for (const QWidget *control : controls) {
        if (!qobject_cast<const QLabel *>(control) && !qobject_cast<const QLineEdit *>(control)
            && !qobject_cast<const QAbstractButton *>(control))
            continue;
        const QString name = control->objectName();
        const QFontInfo used(control->font());
        EXPECT_EQ(used.family(), face.family()) << name.toStdString();
        EXPECT_EQ(used.pointSizeF(), face.pointSizeF()) << name.toStdString();

        const QFontMetrics metrics(control->font());
        if (auto *label = qobject_cast<const QLabel *>(control)) {
            const int textRight = label->x() + metrics.horizontalAdvance(shownCaption(label->text()));
            EXPECT_LE(textRight, label->geometry().right() + 1) << name.toStdString() << " is cut off";
            if (const QWidget *box = label->buddy()) {
                EXPECT_LE(label->geometry().right(), box->x() - 3)
                    << name.toStdString() << " touches its box";
            }
        } else if (auto *check = qobject_cast<const QCheckBox *>(control)) {
            const QStyle *style = check->style();
            const int needed = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, check)
                + style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, check)
                + metrics.horizontalAdvance(shownCaption(check->text()));
            EXPECT_LE(needed, check->width()) << name.toStdString() << " is cut off";
        } else if (auto *button = qobject_cast<const QPushButton *>(control)) {
            const int needed = metrics.horizontalAdvance(shownCaption(button->text())) + 6;
            EXPECT_LE(needed, button->width()) << name.toStdString() << " is cut off";
        }
    }
}

} // namespace zuno::test
