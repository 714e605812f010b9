#include "platform/PeerWindows.h"

#include <QRect>

#include <algorithm>
#include <cstdlib>

namespace zuno {

QPoint cascadedPlace(QPoint wanted, const QList<QPoint> &others, QSize size, const QRect &area, int step)
{
    const auto taken = [&](QPoint at) {
        return std::any_of(others.begin(), others.end(), [&](QPoint other) {
            return std::abs(other.x() - at.x()) < step / 2 && std::abs(other.y() - at.y()) < step / 2;
        });
    };
    QPoint at = wanted;
    int round = 0;
    // Enough tries for every window to have a place of its own.
    for (qsizetype tries = 0; taken(at) && tries <= others.size(); ++tries) {
        at += QPoint(step, step);
        if (at.y() + size.height() > area.bottom() + 1 || at.x() + size.width() > area.right() + 1) {
            ++round;
            at = area.topLeft() + QPoint(round * step, 0);
        }
    }
    return at;
}

} // namespace zuno
