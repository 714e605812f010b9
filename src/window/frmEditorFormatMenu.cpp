// Format > Font and the zoom keys: the editor's font, which the window's
// width is fitted to and which printing uses, remembered with the settings.
#include "window/frmEditor.h"

#include <QFontDialog>

namespace zuno {

void frmEditor::mnuFormatFont_Click()
{
    QFontDialog dialog(chosenFont(m_font), this);
    dialog.setObjectName(QStringLiteral("dlgFont"));
    dialog.setWindowTitle(tr("Font"));
    // The Record layout's columns need every character as wide as the next.
    dialog.setOption(QFontDialog::MonospacedFonts, true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QFont font = dialog.selectedFont();
    EditorFontChoice choice = m_font;
    choice.family = font.family();
    if (font.pointSizeF() > 0)
        choice.pointSize = font.pointSizeF();
    choice.zoom = 0;
    applyFontChoice(choice);
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
