#pragma once
// IClipboard on the application's QClipboard (the system clipboard, not the
// X11 selection).
#include "platform/Clipboard.h"

namespace zuno {

class QtClipboard : public IClipboard {
public:
    void clear() override;
    void setText(const QString &text) override;
    QString text() const override;
};

// The clipboard the menu commands use.
IClipboard &systemClipboard();

} // namespace zuno
