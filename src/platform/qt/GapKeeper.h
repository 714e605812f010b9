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
// A read moves the gap only toward the start. Forward, only a read of the
// whole text in place moves it, to the end in one go; the walk then brings
// it back. That one move is done only when the caret has gone so far ahead
// (FarBytes) that the first key there would miss a frame; a gap less far
// behind stays until the next edit moves it.
#include <QObject>
#include <QTimer>

#include <atomic>
#include <memory>
#include <optional>

class QsciScintillaBase;

namespace zuno {

// The read that brings the gap one step toward `caret`: `length` bytes from
// `position`, a range that reaches past the gap (it may end one byte past
// the text: nothing is read there), or a read of the whole text (`toEnd`),
// which takes the gap to the end. None when the gap is near enough, or
// behind the caret by less than FarBytes.
struct GapStep {
    qint64 position = 0;
    qint64 length = 0;
    bool toEnd = false;
};
std::optional<GapStep> nextGapStep(qint64 gap, qint64 caret);

class GapKeeper : public QObject {
    Q_OBJECT
public:
    // Moves at most this much in one step, and leaves the gap this near.
    static constexpr qint64 StepBytes = qint64(4) << 20;
    static constexpr qint64 NearBytes = qint64(256) << 10;
    // A gap this far behind the caret goes to the end (moving a MB takes
    // about 0.2 ms).
    static constexpr qint64 FarBytes = qint64(16) << 20;

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
