// The edit control's keys and mouse buttons: letters typed become capitals,
// the clipboard keys and the right button go to the owner, the middle
// button pastes the primary selection exactly, and only a plain editor's
// keys are bound.
#include "platform/qt/EditorWidget.h"
#include "platform/qt/KeyRowShift.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace zuno {

namespace {

using Sci = QsciScintillaBase;

// Letters a to z as capitals; everything else as it is.
QString withCapitals(const QString &typed)
{
    QString result = typed;
    for (QChar &c : result) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return result;
}

} // namespace

void EditorWidget::assignKeys()
{
    // A plain editor's keys only: Scintilla's code-editor commands (change
    // case, duplicate, transpose, cut or delete a line, zoom...) are gone.
    send(Sci::SCI_CLEARALLCMDKEYS);
    const auto assign = [this](int key, int modifiers, int command) {
        send(Sci::SCI_ASSIGNCMDKEY, static_cast<unsigned long>(key | (modifiers << 16)), command);
    };
    constexpr int None = Sci::SCMOD_NORM, Shift = Sci::SCMOD_SHIFT, Ctrl = Sci::SCMOD_CTRL;
    const struct {
        int key, modifiers, command;
    } keys[] = {
        {Sci::SCK_DOWN, None, Sci::SCI_LINEDOWN},
        {Sci::SCK_DOWN, Shift, Sci::SCI_LINEDOWNEXTEND},
        {Sci::SCK_DOWN, Ctrl, Sci::SCI_LINESCROLLDOWN},
        {Sci::SCK_UP, None, Sci::SCI_LINEUP},
        {Sci::SCK_UP, Shift, Sci::SCI_LINEUPEXTEND},
        {Sci::SCK_UP, Ctrl, Sci::SCI_LINESCROLLUP},
        {Sci::SCK_LEFT, None, Sci::SCI_CHARLEFT},
        {Sci::SCK_LEFT, Shift, Sci::SCI_CHARLEFTEXTEND},
        {Sci::SCK_LEFT, Ctrl, Sci::SCI_WORDLEFT},
        {Sci::SCK_LEFT, Ctrl | Shift, Sci::SCI_WORDLEFTEXTEND},
        {Sci::SCK_RIGHT, None, Sci::SCI_CHARRIGHT},
        {Sci::SCK_RIGHT, Shift, Sci::SCI_CHARRIGHTEXTEND},
        {Sci::SCK_RIGHT, Ctrl, Sci::SCI_WORDRIGHT},
        {Sci::SCK_RIGHT, Ctrl | Shift, Sci::SCI_WORDRIGHTEXTEND},
        {Sci::SCK_HOME, None, Sci::SCI_HOME},
        {Sci::SCK_HOME, Shift, Sci::SCI_HOMEEXTEND},
        {Sci::SCK_HOME, Ctrl, Sci::SCI_DOCUMENTSTART},
        {Sci::SCK_HOME, Ctrl | Shift, Sci::SCI_DOCUMENTSTARTEXTEND},
        {Sci::SCK_END, None, Sci::SCI_LINEEND},
        {Sci::SCK_END, Shift, Sci::SCI_LINEENDEXTEND},
        {Sci::SCK_END, Ctrl, Sci::SCI_DOCUMENTEND},
        {Sci::SCK_END, Ctrl | Shift, Sci::SCI_DOCUMENTENDEXTEND},
        {Sci::SCK_PRIOR, None, Sci::SCI_PAGEUP},
        {Sci::SCK_PRIOR, Shift, Sci::SCI_PAGEUPEXTEND},
        {Sci::SCK_NEXT, None, Sci::SCI_PAGEDOWN},
        {Sci::SCK_NEXT, Shift, Sci::SCI_PAGEDOWNEXTEND},
        {Sci::SCK_DELETE, None, Sci::SCI_CLEAR},
        {Sci::SCK_DELETE, Ctrl, Sci::SCI_DELWORDRIGHT},
        {Sci::SCK_BACK, None, Sci::SCI_DELETEBACK},
        {Sci::SCK_BACK, Shift, Sci::SCI_DELETEBACK},
        {Sci::SCK_BACK, Ctrl, Sci::SCI_DELWORDLEFT},
        {Sci::SCK_INSERT, None, Sci::SCI_EDITTOGGLEOVERTYPE},
        {Sci::SCK_ESCAPE, None, Sci::SCI_CANCEL},
        {Sci::SCK_TAB, None, Sci::SCI_TAB},
        {Sci::SCK_RETURN, None, Sci::SCI_NEWLINE},
        {Sci::SCK_RETURN, Shift, Sci::SCI_NEWLINE},
        {'Z', Ctrl, Sci::SCI_UNDO},
        {'Y', Ctrl, Sci::SCI_REDO},
        {'A', Ctrl, Sci::SCI_SELECTALL},
    };
    for (const auto &k : keys)
        assign(k.key, k.modifiers, k.command);
}


// ------------------------------------------------------------ input

void EditorWidget::keyPressEvent(QKeyEvent *event)
{
    // The clipboard keys go through the program's own commands, which take
    // and give the clipboard's text exactly.
    if (event->matches(QKeySequence::Paste)) {
        event->accept();
        emit pasteRequested();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        event->accept();
        emit cutRequested();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        event->accept();
        emit copyRequested();
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const QString typed = event->text();
    // Alt with a letter is a menu's key, never text (AltGr, or Ctrl+Alt
    // where the system reports AltGr so, still types its character).
    if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier) && !typed.isEmpty()) {
        event->ignore();
        return;
    }
    // With Ctrl (and no Alt) a key is a command or nothing, never text.
    if ((modifiers & (Qt::ControlModifier | Qt::MetaModifier)) && !(modifiers & Qt::AltModifier)
        && !typed.isEmpty()) {
        QKeyEvent bare(event->type(), event->key(), modifiers, QString(), event->isAutoRepeat(),
                       ushort(event->count()));
        QsciScintillaBase::keyPressEvent(&bare);
        event->setAccepted(bare.isAccepted());
        return;
    }
    const bool plainKey = !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const QString capitals = withCapitals(typed);
    if (plainKey && capitals != typed) {
        QKeyEvent upper(event->type(), event->key(), modifiers, capitals, event->isAutoRepeat(),
                        ushort(event->count()));
        QsciScintillaBase::keyPressEvent(&upper);
        event->setAccepted(upper.isAccepted());
        return;
    }
    const KeyRowShift rows(*this, *event);
    QsciScintillaBase::keyPressEvent(event);
}

void EditorWidget::inputMethodEvent(QInputMethodEvent *event)
{
    // Text committed by an input method is typed text too.
    const QString capitals = withCapitals(event->commitString());
    if (capitals == event->commitString()) {
        QsciScintillaBase::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent upper(event->preeditString(), event->attributes());
    upper.setCommitString(capitals, event->replacementStart(), event->replacementLength());
    QsciScintillaBase::inputMethodEvent(&upper);
    event->setAccepted(upper.isAccepted());
}

void EditorWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit editMenuRequested(event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::MiddleButton) {
        event->accept(); // pasted when the button comes up
        return;
    }
    QsciScintillaBase::mousePressEvent(event);
}

void EditorWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::MiddleButton) {
        QsciScintillaBase::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    // The middle button pastes the primary selection where it is clicked,
    // exactly as it is (Scintilla's own paste would convert line ends).
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        return;
    const QPoint at = event->position().toPoint();
    const qint64 position = send(Sci::SCI_POSITIONFROMPOINT, static_cast<unsigned long>(std::max(0, at.x())),
                                 std::max(0, at.y()));
    const qint64 snapped = toDocumentPosition(toTextOffset(position));
    select(snapped, snapped);
    const QString pasted = clipboard->text(QClipboard::Selection);
    if (!pasted.isEmpty())
        setSelText(pasted);
}

bool EditorWidget::canInsertFromMimeData(const QMimeData *) const
{
    // Nothing is dropped into the text: Scintilla would convert its line
    // ends.
    return false;
}

void EditorWidget::contextMenuEvent(QContextMenuEvent *event)
{
    // The right button is handled when it goes down; only the keyboard's
    // menu key arrives here.
    event->accept();
    if (event->reason() != QContextMenuEvent::Keyboard)
        return;
    const qint64 caret = send(Sci::SCI_GETCURRENTPOS);
    const QPoint point(int(send(Sci::SCI_POINTXFROMPOSITION, 0, caret)),
                       int(send(Sci::SCI_POINTYFROMPOSITION, 0, caret) + send(Sci::SCI_TEXTHEIGHT, 0)));
    emit editMenuRequested(viewport()->mapToGlobal(point));
}

} // namespace zuno
