// The keys of the main window: shown in the menus beside the captions, and
// working wherever the focus is in the window. Commands without a menu
// entry (find again, redo, zoom) are actions of the window itself.
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
        {"mnuEditCut", QKeySequence::keyBindings(QKeySequence::Cut)},
        {"mnuEditCopy", QKeySequence::keyBindings(QKeySequence::Copy)},
        {"mnuEditPaste", QKeySequence::keyBindings(QKeySequence::Paste)},
        {"mnuEditSelectAll", keys({QKeySequence(Qt::CTRL | Qt::Key_A)})},
        {"mnuEditFind", keys({QKeySequence(Qt::CTRL | Qt::Key_F)})},
        {"mnuEditReplace", keys({QKeySequence(Qt::CTRL | Qt::Key_H)})},
        {"mnuEditGoTo", keys({QKeySequence(Qt::CTRL | Qt::Key_G)})},
        {"mnuViewList", keys({QKeySequence(Qt::CTRL | Qt::Key_1)})},
        {"mnuViewRecord", keys({QKeySequence(Qt::CTRL | Qt::Key_2)})},
        {"mnuHelpAbout", keys({QKeySequence(Qt::Key_F1)})},
    };
    for (const auto &k : menuKeys) {
        if (auto *entry = findChild<QAction *>(QString::fromLatin1(k.entry)))
            entry->setShortcuts(k.keys);
    }

    const auto windowAction = [this](const char *name, const QList<QKeySequence> &keys, auto handler) {
        auto *action = new QAction(this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(keys);
        addAction(action);
        connect(action, &QAction::triggered, this, handler);
    };
    windowAction("actFindNextAgain", keys({QKeySequence(Qt::Key_F3)}), [this] { editFindAgain(false); });
    windowAction("actFindPreviousAgain", keys({QKeySequence(Qt::SHIFT | Qt::Key_F3)}), [this] { editFindAgain(true); });
    windowAction("actRedo", keys({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}),
                 [this] { rtbEditor->redo(); });
    windowAction("actZoomIn",
                 keys({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus)}),
                 [this] { zoomEditor(1); });
    windowAction("actZoomOut", keys({QKeySequence(Qt::CTRL | Qt::Key_Minus)}), [this] { zoomEditor(-1); });
    windowAction("actZoomReset", keys({QKeySequence(Qt::CTRL | Qt::Key_0)}), [this] { zoomEditor(0); });
}

void frmEditor::editFindAgain(bool backwards)
{
    if (!FindAgain(*rtbEditor, backwards ? SearchDirection::Backward : SearchDirection::Forward, m_messages))
        modFindReplaceRichText::ShowFindDialog(*rtbEditor);
}

} // namespace zuno
