// The keys of the main window: shown in the menus beside the captions, and
// working wherever the focus is in the window.
#include "window/frmEditor.h"

#include "search/FindAgain.h"
#include "search/modFindReplaceRichText.h"

#include <QAction>
#include <QKeySequence>

namespace zuno {

namespace {

QList<QKeySequence> keys(std::initializer_list<QKeySequence> list) { return QList<QKeySequence>(list); }

} // namespace

void frmEditor::assignShortcuts()
{
    const struct {
        const char *entry;
        QList<QKeySequence> keys;
    } menuKeys[] = {
        {"mnuFileNew", QKeySequence::keyBindings(QKeySequence::New)},
        {"mnuFileOpen", QKeySequence::keyBindings(QKeySequence::Open)},
        {"mnuFileSave", QKeySequence::keyBindings(QKeySequence::Save)},
        {"mnuFileSaveAs", keys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)})},
        {"mnuFilePrint", QKeySequence::keyBindings(QKeySequence::Print)},
        {"mnuFileExit", keys({QKeySequence(Qt::CTRL | Qt::Key_Q)})},
        {"mnuEditUndo", keys({QKeySequence(Qt::CTRL | Qt::Key_Z)})},
        {"mnuEditRedo", keys({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})},
        {"mnuEditCut", QKeySequence::keyBindings(QKeySequence::Cut)},
        {"mnuEditCopy", QKeySequence::keyBindings(QKeySequence::Copy)},
        {"mnuEditPaste", QKeySequence::keyBindings(QKeySequence::Paste)},
        {"mnuEditSelectAll", keys({QKeySequence(Qt::CTRL | Qt::Key_A)})},
        {"mnuEditFind", keys({QKeySequence(Qt::CTRL | Qt::Key_F)})},
        {"mnuEditReplace", keys({QKeySequence(Qt::CTRL | Qt::Key_H)})},
        {"mnuEditFindNext", keys({QKeySequence(Qt::Key_F3)})},
        {"mnuEditFindPrevious", keys({QKeySequence(Qt::SHIFT | Qt::Key_F3)})},
        {"mnuEditGoTo", keys({QKeySequence(Qt::CTRL | Qt::Key_G)})},
        {"mnuViewList", keys({QKeySequence(Qt::CTRL | Qt::Key_1)})},
        {"mnuViewRecord", keys({QKeySequence(Qt::CTRL | Qt::Key_2)})},
        {"mnuViewZoomIn", keys({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal),
                                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus)})},
        {"mnuViewZoomOut", keys({QKeySequence(Qt::CTRL | Qt::Key_Minus)})},
        {"mnuViewZoomNormal", keys({QKeySequence(Qt::CTRL | Qt::Key_0)})},
        {"mnuFileReload", keys({QKeySequence(Qt::Key_F5)})},
        {"mnuHelpAbout", keys({QKeySequence(Qt::Key_F1)})},
    };
    for (const auto &k : menuKeys) {
        if (auto *entry = findChild<QAction *>(QString::fromLatin1(k.entry)))
            entry->setShortcuts(k.keys);
    }
}

void frmEditor::editFindAgain(bool backwards)
{
    if (!FindAgain(*rtbEditor, backwards ? SearchDirection::Backward : SearchDirection::Forward, m_messages))
        modFindReplaceRichText::ShowFindDialog(*rtbEditor);
}

} // namespace zuno
