#pragma once
#include <QIcon>
namespace zuno {
// The program's icon, drawn at 32 x 32 and 16 x 16 pixels.
QIcon makeAppIcon();
} // namespace zuno
