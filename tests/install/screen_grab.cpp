// Saves a picture of the whole X screen, or of one window given by its X id,
// as PNG, for the start-up smoke test.
// Exit status: 0 saved, 1 bad usage or no screen, 2 the file cannot be written,
// 3 the screen shows one colour only (nothing was drawn).
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: screen_grab OUT.png [WINDOW_ID]\n");
        return 1;
    }
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "screen_grab: no screen\n");
        return 1;
    }
    const WId window = argc == 3 ? static_cast<WId>(std::strtoull(argv[2], nullptr, 0)) : 0;
    const QImage picture = screen->grabWindow(window).toImage();
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "screen_grab: cannot write %s\n", argv[1]);
        return 2;
    }
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height() && colours.size() < 2; y += 4)
        for (int x = 0; x < picture.width() && colours.size() < 2; x += 4)
            colours.insert(picture.pixel(x, y));
    if (colours.size() < 2) {
        std::fprintf(stderr, "screen_grab: the screen is blank\n");
        return 3;
    }
    std::printf("%dx%d\n", picture.width(), picture.height());
    return 0;
}
