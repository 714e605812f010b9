#pragma once
// Every match of the last search marked where the user looks: once a
// search has run, its matches on the lines on screen are marked (again as
// the view scrolls or the text changes: the cost is that of a screenful,
// whatever the size of the text), until the find text is edited or Escape
// is pressed in the editor. Their number is counted a slice of the text at
// a time between the user's keystrokes, up to CountLimit.
#include "platform/MatchMarks.h"
#include "search/FindAgain.h"
#include "search/RegexFind.h"

#include <QObject>
#include <QTimer>

#include <QPointer>

#include <optional>

namespace zuno {

// Tells the highlight what happened in the dialogs.
class SearchAnnouncer : public QObject {
    Q_OBJECT
public:
    static SearchAnnouncer &instance();
signals:
    // `editor` is the control searched (null when not known).
    void searched(const zuno::LastSearch &search, QObject *editor);
    void findTextEdited(const QString &text);
};

// Notes `search` as the last one (F3 repeats it) and marks its matches in
// `editor` (every window's, when not known).
void announceSearch(const LastSearch &search, QObject *editor = nullptr);
// A dialog's find text was edited: the marks go, unless it is the text
// marked (a Replace dialog opening on the last search, say).
void announceFindTextEdited(const QString &text);

class MatchHighlight : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 CountLimit = 10000;
    // About this many bytes are counted at a time.
    static constexpr qint64 SliceBytes = qint64(1) << 18;

    // A change of the text starts the count again once typing has paused
    // this long.
    static constexpr int RecountDelayMs = 200;

    explicit MatchHighlight(IMatchMarks &marks, QObject *parent = nullptr);

    // Marks the matches of `search` and counts them.
    void show(const LastSearch &search);
    // Takes the marks and the count away.
    void clear();
    // A dialog's find text is now `text`: clears unless that is the search marked.
    void findTextEdited(const QString &text);
    bool isShown() const { return m_search.has_value(); }
    // `editor` is the one this highlight marks: Escape pressed there clears
    // the marks (the key goes on), and only searches made in it are shown.
    void clearOnEscapeIn(QObject *editor);
    // A search was made in `editor`: shown when that is this one's.
    void searchedIn(const LastSearch &search, QObject *editor);

    // The lines on screen may have changed: marks them if they are not.
    void viewChanged();
    // The text is changing: marks and count are made again once it has.
    void textChanged();

    // "248 matches", "more than 10,000"; empty while counting or when
    // nothing is shown.
    QString countText() const { return m_countText; }
    bool isCounting() const { return m_timer.isActive() || m_recount.isActive(); }
    // Counts the next slice (what the timer does between events).
    void countSlice();

    // The byte ranges of the matches in `lines`, whole lines of a text that
    // begin at byte `base` of it.
    static QList<Utf8Range> matchesIn(const LastSearch &search, const SearchExpression *expression,
                                      QByteArrayView lines, qint64 base);
    static QString countCaption(qint64 count);

signals:
    void countChanged(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void restartCount();
    void setCountText(const QString &text);

    IMatchMarks &m_marks;
    std::optional<LastSearch> m_search;
    QPointer<QObject> m_editor;
    std::optional<SearchExpression> m_expression;
    // What was marked last: the lines and the text's version.
    Utf8Range m_markedLines{-1, -1};
    quint64 m_markedVersion = 0;
    // The count so far: bytes counted, matches found.
    qint64 m_countedTo = 0;
    qint64 m_count = 0;
    QTimer m_timer;
    QTimer m_recount;
    QString m_countText;
};

} // namespace zuno
