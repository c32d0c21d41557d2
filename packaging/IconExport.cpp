// Writes the editor's icon into an icon-theme tree (<root>/<N>x<N>/apps/vorlane.png), so that
// menus and launchers show the same pixels as the window.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <cstdio>

#include "packaging/IconSizes.h"

int main(int argc, char** argv) {
    // Image plug-ins are looked up through the application object; no display is needed.
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: vorlane_icon_export THEME-ROOT\n", stderr);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (const vorlane::packaging::IconSize& size : vorlane::packaging::kIconSizes) {
        QImage image(size.drawing);
        if (image.isNull() || image.width() != size.drawnPixels ||
            image.height() != size.drawnPixels) {
            std::fprintf(stderr, "vorlane_icon_export: the %d-pixel drawing does not load\n",
                         size.drawnPixels);
            return 1;
        }
        image = image.convertToFormat(QImage::Format_ARGB32);
        if (size.pixels != size.drawnPixels) {
            image = image.scaled(size.pixels, size.pixels, Qt::IgnoreAspectRatio,
                                 Qt::FastTransformation);
        }
        const QString folder = QStringLiteral("%1x%1/apps").arg(size.pixels);
        const QString path = root.filePath(folder + QStringLiteral("/vorlane.png"));
        if (!root.mkpath(folder) || !image.save(path, "PNG")) {
            std::fprintf(stderr, "vorlane_icon_export: cannot write %s\n",
                         path.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
