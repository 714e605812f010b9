#pragma once
// The match marks over a FakeEditControl: the lines on screen are set by
// the test, the marks are recorded.
#include "platform/MatchMarks.h"

namespace zuno {

class FakeMatchMarks : public IMatchMarks {
public:
    explicit FakeMatchMarks(const IEditControl &control) : m_control(control) {}
    Utf8Range visibleLines() const override { return visible; }
    void setMatchMarks(const QList<Utf8Range> &ranges) override
    {
        marks = ranges;
        ++markCount;
    }
    quint64 textVersion() const override { return version; }
    qint64 textBytes() const override { return m_control.utf8Text().size(); }
    QByteArrayView textRange(qint64 from, qint64 to) const override
    {
        return m_control.utf8Text().sliced(from, to - from);
    }

    Utf8Range visible;
    QList<Utf8Range> marks;
    int markCount = 0;
    quint64 version = 0;

private:
    const IEditControl &m_control;
};

} // namespace zuno
