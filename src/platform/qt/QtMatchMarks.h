#pragma once
// The match marks on Scintilla: an indicator drawn under the text (a box
// of the highlight colour), laid over the lines on screen only and kept as
// runs, so that the document holds nothing per character for them.
#include "platform/MatchMarks.h"

#include <QObject>
#include <functional>

namespace zuno {

class EditorWidget;

class QtMatchMarks : public QObject, public IMatchMarks {
    Q_OBJECT
public:
    // `viewChanged` is called after the lines on screen may have changed
    // (a scroll, a resize, an edit); `textChanged` when the text changes
    // (its new state is read later, not during the call).
    QtMatchMarks(EditorWidget &editor, std::function<void()> viewChanged, std::function<void()> textChanged);

    Utf8Range visibleLines() const override;
    void setMatchMarks(const QList<Utf8Range> &ranges) override;
    quint64 textVersion() const override { return m_version; }
    qint64 textBytes() const override;
    QByteArrayView textRange(qint64 from, qint64 to) const override;

    // The colour for the control's background, after it changed.
    void applyColours();
    // The ranges marked now, read back from the control.
    QList<Utf8Range> markedRanges() const;

protected:
    // The colour follows the control's palette (a light or a dark theme).
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const;

    EditorWidget &m_editor;
    quint64 m_version = 0;
    // The span the marks laid last cover, and the document they are in.
    qint64 m_from = 0;
    qint64 m_to = 0;
    long m_document = 0;
};

} // namespace zuno
