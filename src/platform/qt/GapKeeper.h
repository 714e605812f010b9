#pragma once
// Scintilla keeps a document's bytes in one buffer with a gap (its free
// room) where the last edit was: an edit at the gap costs nothing, an edit
// elsewhere first moves every byte between the two places. A read of the
// whole text in place (the problem check, a save, the Record view's search)
// moves the gap to the end, so the next key typed near the start of a large
// text would move all of it (200 MB: about 45 ms, three frames). GapKeeper
// brings the gap back to the caret while the user is idle, a few MB at a
// time (a read of a range across the gap moves the gap to the range's
// start, and changes neither the text nor its history), each step about a
// millisecond, put off while keys come and while anyone reads the text in
// place (a pin).
//
// A read moves the gap only toward the start: a gap before the caret stays
// until the next edit, which moves it (at most the distance the caret went).
#include <QObject>
#include <QTimer>

#include <atomic>
#include <memory>
#include <optional>

class QsciScintillaBase;

namespace zuno {

// The read that brings the gap one step toward `caret`: `length` bytes from
// `position`, a range that reaches past the gap (it may end one byte past
// the text: nothing is read there). None when the gap is near enough, or
// before the caret.
struct GapStep {
    qint64 position = 0;
    qint64 length = 0;
};
std::optional<GapStep> nextGapStep(qint64 gap, qint64 caret);

class GapKeeper : public QObject {
    Q_OBJECT
public:
    // Moves at most this much in one step, and leaves the gap this near.
    static constexpr qint64 StepBytes = qint64(4) << 20;
    static constexpr qint64 NearBytes = qint64(256) << 10;

    explicit GapKeeper(QsciScintillaBase &editor);

    // While what this returns is kept (on any thread), the text stays where
    // it lies in memory.
    std::shared_ptr<const void> pin();
    // The caret, the text or a read may have moved the caret or the gap:
    // the keeper looks again once the user is idle.
    void poke();
    // One step now; answers whether the gap moved.
    bool step();

private:
    std::optional<GapStep> next() const;
    void stepAndGoOn();

    QsciScintillaBase &m_editor;
    QTimer m_idle;
    QTimer m_next;
    std::shared_ptr<std::atomic<int>> m_pins = std::make_shared<std::atomic<int>>(0);
};

} // namespace zuno
