// Writes the editor's icon into an icon-theme tree (<root>/<N>x<N>/apps/vorlane.png), so that
// menus and launchers show the same pixels as the window. Larger sizes are whole-number
// enlargements of a drawn size: every pixel of the 16-colour drawing stays a sharp square.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <cstdio>

#include "res/Strings.h"

namespace {

struct ThemeSize {
    int pixels;
    const char* const* drawing;
    int drawnPixels;
};

// 48 comes from the 16-pixel drawing (three times), since 48 is no whole multiple of 32.
constexpr ThemeSize kSizes[] = {
    {16, vorlane::res::kIcon16, 16},  {32, vorlane::res::kIcon32, 32},
    {48, vorlane::res::kIcon16, 16},  {64, vorlane::res::kIcon32, 32},
    {128, vorlane::res::kIcon32, 32},
};

}  // namespace

int main(int argc, char** argv) {
    // Image plug-ins are looked up through the application object; no display is needed.
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: vorlane_icon_export THEME-ROOT\n", stderr);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (const ThemeSize& size : kSizes) {
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
