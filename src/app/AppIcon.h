#pragma once
#include <QIcon>
#include <QImage>
#include <QList>
namespace zuno {
// The sizes, in pixels, at which the icon is rendered for the window and
// installed for the desktop.
const QList<int> &appIconSizes();
// The program's icon drawing (data/icons/zunopad.svg, compiled in as a
// resource) rendered on a transparent square of size x size pixels; a null
// image if the drawing cannot be read.
QImage renderAppIcon(int size);
// The window's icon: the drawing at every size of appIconSizes().
QIcon makeAppIcon();
} // namespace zuno
