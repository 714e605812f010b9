#pragma once
// The other ZUNOPad windows of the desktop session: which file each holds,
// bringing the one that holds a file forward, and where they stand, so that
// a new window neither opens a second editable copy of a file nor covers
// the window before it.
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace zuno {

enum class HeldElsewhere {
    No,             // no other window holds the file
    BroughtForward, // another window holds it and now stands in front
    Unreachable,    // another window holds it, but it cannot be reached
};

class IPeerWindows {
public:
    virtual ~IPeerWindows() = default;
    // This window now holds the file at `path` (empty: none).
    virtual void hold(const QString &path) = 0;
    // Whether another window holds the file at `path`; if so, it is brought
    // forward where it can be.
    virtual HeldElsewhere bringForwardHolder(const QString &path) = 0;
    // The top-left corners of the other windows' frames, in pixels.
    virtual QList<QPoint> places() const = 0;
};

// Where a new window of `size` goes: at `wanted` unless another window's
// corner stands (nearly) there, else one `step` down and to the right, as
// often as it takes; a step that would pass the bottom or right edge of
// `area` starts again from its top-left corner, one step further right
// each round.
QPoint cascadedPlace(QPoint wanted, const QList<QPoint> &others, QSize size, const QRect &area, int step);

} // namespace zuno
