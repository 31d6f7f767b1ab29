// Draws the program's icon into an icon theme folder, for the desktop's hicolor theme:
//   kavo-render-icons <folder>
// writes <folder>/<size>x<size>/apps/kavo-custom.png for every size of ApplicationIconSizes.
#include "artwork/itemtypeimages.h"

#include <QDir>
#include <QImage>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kavo-render-icons <icon theme folder>\n");
        return 2;
    }
    for (int size : artwork::ApplicationIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        const QString file = folder + QStringLiteral("/kavo-custom.png");
        if (!QDir().mkpath(folder) || !artwork::applicationIconImage(size).save(file)) {
            std::fprintf(stderr, "kavo-render-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
