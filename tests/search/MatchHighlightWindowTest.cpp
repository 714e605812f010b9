// Every match of the last search marked in the real main window
// (offscreen): on the lines on screen only, counted in the status bar
// without holding up the events, gone with Escape in the editor or an
// edit of the find text.
#include "window/frmEditor.h"
#include "support/EditText.h"

#include "platform/qt/QtMatchMarks.h"
#include "search/MatchHighlight.h"
#include "search/frmFindReplace.h"
#include "search/modFindReplaceRichText.h"
#include "platform/qt/StatusFields.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace zuno;
namespace engine = zuno::modFindReplaceRichText;

namespace {

// Runs the events until `done`, failing after ten seconds.
template <typename Done>
bool waitFor(Done done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST(MatchHighlightWindowTest, TheMatchesOnScreenAreMarkedAndCountedUntilEscape)
{
    frmEditor window;
    window.resize(600, 400);
    window.show();
    // Far more lines than the window shows.
    QString text;
    for (int i = 0; i < 2000; ++i)
        text += QStringLiteral("PL:%1,7\r\nOF:-%1\r\n").arg(i);
    test::setTextOf(*window.editor(), text);
    window.editor()->setSelStart(0);
    QApplication::processEvents();

    window.findChild<QAction *>("mnuEditFind")->trigger();
    auto *dialog = window.findChild<frmFindReplace *>();
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QLineEdit *>("txtFRFind")->setText("OF:-\\d+");
    dialog->findChild<QCheckBox *>("chkFRRegex")->setChecked(true);
    dialog->findChild<QPushButton *>("cmdFRFind")->click();
    EXPECT_EQ(window.editor()->selText(), "OF:-0");

    ASSERT_TRUE(waitFor([&] { return !window.statusFields().field("stbMatches").isEmpty(); }));
    EXPECT_EQ(window.statusFields().field("stbMatches"), "2,000 matches");
    // One mark a line pair on screen, none beyond it.
    const QList<Utf8Range> marked = window.matchMarks().markedRanges();
    ASSERT_FALSE(marked.isEmpty());
    EXPECT_LT(marked.size(), 200);
    EXPECT_EQ(marked.first(), (Utf8Range{8, 13}));

    // Scrolled to the end: the marks follow the lines shown.
    window.editor()->setSelStart(window.editor()->textLength());
    window.editor()->showSelection({});
    ASSERT_TRUE(waitFor([&] {
        const QList<Utf8Range> now = window.matchMarks().markedRanges();
        return !now.isEmpty() && now.first().from > 1000;
    }));

    // Escape in the editor takes them away.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(window.editor(), &escape);
    EXPECT_TRUE(window.matchMarks().markedRanges().isEmpty());
    EXPECT_EQ(window.statusFields().field("stbMatches"), "");

    // A new search marks again; a Replace dialog opening on the text marked
    // keeps them; editing the find text clears.
    window.editor()->setSelStart(0);
    dialog->findChild<QPushButton *>("cmdFRFind")->click();
    EXPECT_FALSE(window.matchMarks().markedRanges().isEmpty());
    window.findChild<QAction *>("mnuEditReplace")->trigger();
    EXPECT_FALSE(window.matchMarks().markedRanges().isEmpty());
    dialog->findChild<QLineEdit *>("txtFRFind")->setText("PL");
    EXPECT_TRUE(window.matchMarks().markedRanges().isEmpty());
    engine::ClearTarget();
    forgetSearch();
}

} // namespace
