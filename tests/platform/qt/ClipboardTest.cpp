// The Qt clipboard seam: plain text in, plain text out, nothing else.
#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

namespace zuno {
namespace {

TEST(QtClipboard, HoldsPlainTextExactly)
{
    QtClipboard clipboard;
    const QString text = QStringLiteral("PR:road\r\nPL:1,2\n\u00e9");
    clipboard.setText(text);
    EXPECT_EQ(clipboard.text(), text);
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->formats(), QStringList{QStringLiteral("text/plain")});
}

TEST(QtClipboard, ClearLeavesNoText)
{
    QtClipboard clipboard;
    clipboard.setText(QStringLiteral("something"));
    clipboard.clear();
    EXPECT_EQ(clipboard.text(), QString());
}

TEST(QtClipboard, AnEmptyTextIsStillText)
{
    QtClipboard clipboard;
    clipboard.setText(QStringLiteral("something"));
    clipboard.setText(QString());
    EXPECT_EQ(clipboard.text(), QString());
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasText());
}

TEST(QtClipboard, DataOtherThanTextReadsAsEmpty)
{
    auto *data = new QMimeData;
    data->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
    QGuiApplication::clipboard()->setMimeData(data);
    EXPECT_EQ(QtClipboard().text(), QString());
}

TEST(QtClipboard, TheSystemClipboardIsOneObject)
{
    EXPECT_EQ(&systemClipboard(), &systemClipboard());
    systemClipboard().setText(QStringLiteral("shared"));
    EXPECT_EQ(QtClipboard().text(), QStringLiteral("shared"));
}

} // namespace
} // namespace zuno
