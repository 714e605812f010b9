#pragma once
// A command that runs out of memory ends with a message saying what could
// not be done; the document stays as the command found it (every command
// builds its new text before it replaces the old one).
#include "platform/MessageBox.h"

#include <new>

namespace zuno {

inline QString notEnoughMemoryMessage(const QString &what)
{
    return QCoreApplication::translate("MemoryShortage", "Not enough memory to %1.").arg(what);
}

template <typename Command>
void whileMemoryLasts(IMessageBox &messages, const QString &what, Command &&command)
{
    try {
        command();
    } catch (const std::bad_alloc &) {
        showWarning(messages, notEnoughMemoryMessage(what));
    }
}

} // namespace zuno
