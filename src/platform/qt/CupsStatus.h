#pragma once
// Whether CUPS took the last job handed to it on this thread.
#include <QString>

namespace zuno {

// Qt hands a native job to CUPS when the painter ends, and does not report
// whether CUPS took it: the last CUPS status of this thread tells. Empty
// when the job was taken (or where there is no CUPS), else CUPS's reason.
QString cupsSubmitFailure();

} // namespace zuno
