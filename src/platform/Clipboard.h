#pragma once
// The system clipboard as the edit commands use it: plain text only.
#include <QString>

namespace zuno {

class IClipboard {
public:
    virtual ~IClipboard() = default;
    // Empties the clipboard; whatever it held before is lost.
    virtual void clear() = 0;
    // Puts `text` on the clipboard as plain text, exactly as given.
    virtual void setText(const QString &text) = 0;
    // The clipboard's plain text; empty when it holds no text.
    virtual QString text() const = 0;
};

} // namespace zuno
