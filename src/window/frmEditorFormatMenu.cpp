// Format > Font and the zoom keys: the editor's font, which the window's
// width is fitted to and which printing uses, remembered with the settings.
#include "window/frmEditor.h"

#include <QFontDialog>

namespace zuno {

void frmEditor::mnuFormatFont_Click()
{
    // Qt's own dialog: a desktop's dialog may not keep to fixed-pitch
    // families. It opens on the font the editor shows, unzoomed.
    QFontDialog dialog(this);
    dialog.setObjectName(QStringLiteral("dlgFont"));
    dialog.setWindowTitle(tr("Font"));
    // The Record layout's columns need every character as wide as the next.
    dialog.setOptions(QFontDialog::MonospacedFonts | QFontDialog::DontUseNativeDialog);
    dialog.setCurrentFont(chosenFont(m_font));
    if (dialog.exec() != QDialog::Accepted)
        return;
    applyFontChoice(choiceOf(dialog.selectedFont(), m_font));
}

void frmEditor::zoomEditor(int steps)
{
    EditorFontChoice choice = m_font;
    if (steps == 0)
        choice.zoom = 0;
    else
        choice = zoomedBy(choice, steps);
    applyFontChoice(choice);
}

void frmEditor::applyFontChoice(const EditorFontChoice &choice)
{
    m_font = choice;
    writeFontChoice(m_settings, m_font);
    rtbEditor->setFont(shownFont(m_font));
    m_shell->fitWindowToText();
}

} // namespace zuno
