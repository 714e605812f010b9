#include "platform/qt/CupsStatus.h"

#include <QLibrary>

namespace zuno {

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
// libcups is already loaded by Qt's CUPS support, so it is looked up, not
// linked.
QString cupsSubmitFailure()
{
    using LastError = int (*)();
    using LastErrorString = const char *(*)();
    QLibrary cups(QStringLiteral("cups"), 2);
    const auto lastError = reinterpret_cast<LastError>(cups.resolve("cupsLastError"));
    const auto lastErrorString = reinterpret_cast<LastErrorString>(cups.resolve("cupsLastErrorString"));
    if (!lastError)
        return QString();
    // IPP status codes from 0x0400 up are client and server errors.
    constexpr int FirstError = 0x0400;
    if (lastError() < FirstError)
        return QString();
    const char *description = lastErrorString ? lastErrorString() : nullptr;
    return description && *description ? QString::fromUtf8(description) : QStringLiteral("CUPS error %1").arg(lastError());
}
#else
QString cupsSubmitFailure()
{
    return QString();
}
#endif

} // namespace zuno
