// The status bar: where the caret stands, the view, and how the file is
// encoded; shown or hidden from View > Status Bar, and remembered.
#include "window/frmEditor.h"

#include "platform/qt/StatusFields.h"
#include "platform/qt/CaretPosition.h"
#include "platform/qt/IdleServerSync.h"

#include <QAction>
#include <QStatusBar>

namespace zuno {

namespace {

const QString ViewSection = QStringLiteral("View");
const QString StatusBarKey = QStringLiteral("StatusBar");

QString encodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return frmEditor::tr("UTF-8 with BOM");
    case TextEncoding::Latin1:
        return frmEditor::tr("Latin-1");
    case TextEncoding::Utf8:
        break;
    }
    return frmEditor::tr("UTF-8");
}

} // namespace

void frmEditor::setUpStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("stbEditor"));
    m_statusFields = new StatusFields(bar);
    // What a key repaints is handed to the X server; the wait for the server
    // to have read it is taken while the window is idle, not on the next key.
    auto *serverSync = new IdleServerSync(*this);
    serverSync->watch(*rtbEditor->viewport());
    serverSync->watch(*bar);
    connect(rtbEditor, &EditorWidget::rowsMoved, serverSync, &IdleServerSync::forget);
    const bool shown = m_settings.read(SettingsApplication, ViewSection, StatusBarKey, QStringLiteral("1"))
                       != QStringLiteral("0");
    mnuViewStatusBar->setChecked(shown);
    bar->setVisible(shown);
    // Cheap to work out: nothing here reads the whole text.
    connect(rtbEditor, &EditorWidget::viewUpdated, this, [this] { refreshStatusFields(); });
    connect(mnuViewList, &QAction::changed, this, [this] { refreshStatusFields(); });
    connect(this, &QWidget::windowTitleChanged, this, [this] { refreshStatusFields(); });
    refreshStatusFields();
}

void frmEditor::refreshStatusFields()
{
    if (!m_statusFields || !m_shell)
        return;
    const LineColumn at = caretLineColumn(*rtbEditor);
    m_statusFields->setField(QStringLiteral("stbPosition"), tr("Ln %1, Col %2").arg(at.line).arg(at.column));
    m_statusFields->setField(QStringLiteral("stbView"), mnuViewList->isChecked() ? tr("List") : tr("Record"));
    const TextFileFormat &format = m_shell->diskFile().format;
    m_statusFields->setField(QStringLiteral("stbEncoding"), encodingName(format.encoding));
    m_statusFields->setField(QStringLiteral("stbLineEnds"),
                             format.lineEnding == LineEnding::CrLf ? tr("CRLF") : tr("LF"));
}

void frmEditor::mnuViewStatusBar_Click()
{
    const bool shown = mnuViewStatusBar->isChecked();
    statusBar()->setVisible(shown);
    m_settings.write(SettingsApplication, ViewSection, StatusBarKey, shown ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace zuno
