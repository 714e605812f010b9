// render_icon OUTDIR: writes the program's icon as OUTDIR/NxN/apps/zunopad.png
// at every size the window uses, the layout of the hicolor icon theme. Run at
// build time, so that the installed icons are the window's icon pixel for pixel.
#include "app/AppIcon.h"

#include <QDir>
#include <QString>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("Usage: render_icon OUTDIR\n", stderr);
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    for (int size : zuno::appIconSizes()) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        const QString file = dir + QStringLiteral("/zunopad.png");
        const QImage image = zuno::renderAppIcon(size);
        if (image.isNull() || !QDir().mkpath(dir) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "render_icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
