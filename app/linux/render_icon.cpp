// Writes the window icon as a PNG of the given size, each pixel a square block, so the
// 16-colour pixel look survives scaling.
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "vocabunta.xpm"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: render_icon SIZE OUTPUT.png\n");
        return 2;
    }
    const int size = std::atoi(argv[1]);
    const QImage icon(vocabunta_xpm);
    const QImage scaled = icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return !icon.isNull() && size > 0 && scaled.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0
                                                                                             : 1;
}
