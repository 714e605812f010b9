#pragma once
// The match marks over a FakeEditControl: the lines on screen are set by
// the test, the marks are recorded.
#include "platform/MatchMarks.h"

namespace zuno {

class FakeMatchMarks : public IMatchMarks {
public:
    Utf8Range visibleLines() const override { return visible; }
    void setMatchMarks(const QList<Utf8Range> &ranges) override
    {
        marks = ranges;
        ++markCount;
    }
    quint64 textVersion() const override { return version; }

    Utf8Range visible;
    QList<Utf8Range> marks;
    int markCount = 0;
    quint64 version = 0;
};

} // namespace zuno
