// The Edit menu's Find and Replace: each opens a new Find/Replace dialog on
// the editor. The matches of the last search are marked on screen and
// counted in the status bar.
#include "window/frmEditor.h"

#include "platform/qt/QtMatchMarks.h"
#include "search/MatchHighlight.h"
#include "search/modFindReplaceRichText.h"
#include "platform/qt/StatusFields.h"

namespace zuno {

void frmEditor::mnuEditFind_Click()
{
    modFindReplaceRichText::ShowFindDialog(*rtbEditor);
}

void frmEditor::mnuEditReplace_Click()
{
    modFindReplaceRichText::ShowReplaceDialog(*rtbEditor);
}

void frmEditor::setUpMatchHighlight()
{
    m_matchMarks = new QtMatchMarks(
        *rtbEditor, [this] { m_matches->viewChanged(); }, [this] { m_matches->textChanged(); });
    m_matches = new MatchHighlight(*m_matchMarks, rtbEditor);
    m_matches->clearOnEscapeIn(rtbEditor);
    const SearchAnnouncer &announcer = SearchAnnouncer::instance();
    connect(&announcer, &SearchAnnouncer::searched, m_matches, &MatchHighlight::searchedIn);
    connect(&announcer, &SearchAnnouncer::findTextEdited, m_matches, &MatchHighlight::findTextEdited);
    connect(m_matches, &MatchHighlight::countChanged, this,
            [this](const QString &text) { m_statusFields->setField(QStringLiteral("stbMatches"), text); });
}

} // namespace zuno
