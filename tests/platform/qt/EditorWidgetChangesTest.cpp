// The edit control's one change signal: every change of the text, whatever
// makes it, is told once, once it is in and before the next one is made,
// with where it was, the bytes it removed and how many it inserted.
#include "platform/qt/EditorWidget.h"
#include "support/EditText.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <functional>

using namespace zuno;

namespace {

struct Told {
    qint64 position;
    qint64 removedBytes;
    qint64 insertedBytes;
    qint64 removedLines;
    QByteArray removed;
    bool wholeText;
    QString textThen; // the text as a listener reads it
    bool operator==(const Told &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Told &told)
{
    return out << "{" << told.position << ", -" << told.removedBytes << " (" << told.removed.toStdString() << "), +"
               << told.insertedBytes << ", lines " << told.removedLines << (told.wholeText ? ", whole" : "") << ", "
               << told.textThen.toStdString() << "}";
}

TEST(EditorWidgetChanges, EveryChangeIsToldOnceItIsIn)
{
    const QString start = QStringLiteral("AB\r\nC\u00e9\r\nDEF");
    const struct {
        const char *what;
        std::function<void(EditorWidget &)> edit;
        QList<Told> told;
    } cases[] = {
        {"typing", [](EditorWidget &e) { e.setSelStart(2); e.setSelText(QStringLiteral("\u00e9")); },
         {{2, 0, 2, 0, "", false, QStringLiteral("AB\u00e9\r\nC\u00e9\r\nDEF")}}},
        // A replacement is a removal, told before the insertion is made.
        {"a selection replaced", [](EditorWidget &e) { e.setSelStart(1); e.setSelLength(3); e.setSelText(QStringLiteral("x")); },
         {{1, 3, 0, 1, "B\r\n", false, QStringLiteral("AC\u00e9\r\nDEF")},
          {1, 0, 1, 0, "", false, QStringLiteral("AxC\u00e9\r\nDEF")}}},
        {"undone", [](EditorWidget &e) { e.setSelStart(0); e.setSelText(QStringLiteral("Z")); e.undo(); },
         {{0, 0, 1, 0, "", false, QStringLiteral("ZAB\r\nC\u00e9\r\nDEF")},
          {0, 1, 0, 0, "Z", false, start}}},
        // Replace All: one change from the first occurrence to the last.
        {"ranges replaced", [](EditorWidget &e) { e.replaceRanges({{0, 1}, {9, 10}}, "yy"); },
         {{0, 10, 12, 2, "AB\r\nC\u00e9\r\nD", false, QStringLiteral("yyB\r\nC\u00e9\r\nyyEF")}}},
        {"a whole new text", [](EditorWidget &e) { test::setTextOf(e, QStringLiteral("new")); },
         {{0, 12, 3, 2, "AB\r\nC\u00e9\r\nDEF", true, QStringLiteral("new")}}},
    };
    for (const auto &c : cases) {
        EditorWidget editor;
        test::setTextOf(editor, start);
        QCoreApplication::processEvents();
        QList<Told> told;
        QObject::connect(&editor, &EditorWidget::textChanged, [&](const TextChange &change) {
            told.append({change.position, change.removedBytes, change.insertedBytes, change.removedLines,
                         change.removed, change.wholeText, test::textOf(editor)});
        });
        c.edit(editor);
        // The last change is told once the events of the moment are handled.
        QCoreApplication::processEvents();
        EXPECT_EQ(told, c.told) << c.what;
    }
}

// A change not yet told is told before anything reads the control's
// offsets, so that they count it.
TEST(EditorWidgetChanges, AnOffsetAskedForCountsTheChangeJustMade)
{
    EditorWidget editor;
    test::setTextOf(editor, QStringLiteral("AB"));
    int told = 0;
    QObject::connect(&editor, &EditorWidget::textChanged, [&] { ++told; });
    editor.setSelStart(0);
    editor.SendScintilla(QsciScintillaBase::SCI_ADDTEXT, 2UL, "\xC3\xA9");
    EXPECT_EQ(told, 0) << "held until the events are handled or asked for";
    EXPECT_EQ(editor.textLength(), 3);
    EXPECT_EQ(editor.toTextOffset(4), 3);
    EXPECT_EQ(told, 1);
}

} // namespace
