#pragma once
// In-memory clipboard for the logic tests. `hasText` false stands for a
// clipboard that is empty or holds only data other than text.
#include "platform/Clipboard.h"

namespace zuno {

class FakeClipboard : public IClipboard {
public:
    FakeClipboard() = default;
    explicit FakeClipboard(const QString &content) : content(content), hasText(true) {}

    void clear() override
    {
        content.clear();
        hasText = false;
        ++clearCount;
    }
    void setText(const QString &text) override
    {
        content = text;
        hasText = true;
        ++setCount;
    }
    QString text() const override
    {
        ++readCount;
        return hasText ? content : QString();
    }

    QString content;
    bool hasText = false;
    int clearCount = 0;
    int setCount = 0;
    mutable int readCount = 0;
};

} // namespace zuno
