#pragma once
// What a user sees of a dialog's controls: one face throughout, every
// caption shown whole, and no label running into its box.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
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

// The desktop's font at `points` for as long as it lives.
class DesktopFontSize {
public:
    explicit DesktopFontSize(double points) : m_old(QApplication::font())
    {
        QFont font = m_old;
        font.setPointSizeF(points);
        QApplication::setFont(font);
    }
    ~DesktopFontSize() { QApplication::setFont(m_old); }

private:
    QFont m_old;
};

// A dialog made while the desktop's font is `points` large: its controls
// use that size, and its layout (`widthTwips` wide as designed, at 8
// points) grew at least as much as the font.
inline void expectGrownWithTheDesktopFont(const QWidget &dialog, double points, double widthTwips)
{
    for (const QWidget *control : dialog.findChildren<QWidget *>())
        if (qobject_cast<const QLabel *>(control) || qobject_cast<const QAbstractButton *>(control)
            || qobject_cast<const QLineEdit *>(control)) {
            EXPECT_EQ(control->font().pointSizeF(), points) << control->objectName().toStdString();
        }
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    EXPECT_GE(dialog.width(), int(widthTwips * points / 8 * dpi / 1440));
    expectOneFaceAndWholeCaptions(dialog);
}

} // namespace zuno::test
