#pragma once
// The Go To Line dialog as the command sees it, so that the command can run
// against a double.
#include <QString>

namespace zuno {

// How a use of the dialog ended.
enum class GoToLineOutcome {
    Ok,     // OK pressed (or Enter): the entry holds what was typed
    Cancel, // Cancel pressed: the entry has been emptied
    Closed, // the close box: the entry is gone, as if the dialog were new
};

class IGoToLineDialog {
public:
    virtual ~IGoToLineDialog() = default;
    // Shows the dialog modally over the main window; returns when it is
    // hidden or closed.
    virtual GoToLineOutcome showModal() = 0;
    virtual QString entry() const = 0;
    virtual void setEntry(const QString &entry) = 0;
};

} // namespace zuno
