// splash-art: lays the splash picture out from a drawing of the example map.
//   splash-art MAP.png OUT.bmp
// The map goes on the left of a 520 × 420 picture, the program's name and
// version on the right; scripts/make-splash encodes the result as JPEG.
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

constexpr int width = 520, height = 420;
constexpr int margin = 16;
constexpr int map_width = 300, map_height = height - 2 * margin;

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: splash-art MAP.png OUT.bmp\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QImage map(QString::fromLocal8Bit(argv[1]));
    if (map.isNull()) {
        std::fprintf(stderr, "splash-art: cannot read %s\n", argv[1]);
        return 1;
    }

    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(QColor(246, 242, 228));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    const QImage fitted = map.scaled(map_width, map_height, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const QRect frame(margin, margin + (map_height - fitted.height()) / 2, fitted.width(), fitted.height());
    painter.drawImage(frame.topLeft(), fitted);
    painter.setPen(QPen(QColor(90, 70, 40), 2));
    painter.drawRect(frame.adjusted(-1, -1, 0, 0));

    const int text_left = frame.right() + margin;
    const QRect text_area(text_left, margin, width - text_left - margin, height - 2 * margin);
    QFont title("DejaVu Serif");
    title.setPixelSize(34);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(60, 45, 25));
    painter.drawText(text_area.adjusted(0, 110, 0, 0), Qt::AlignHCenter | Qt::AlignTop, "Wayloom");

    QFont small("DejaVu Sans");
    small.setPixelSize(16);
    painter.setFont(small);
    painter.drawText(text_area.adjusted(0, 165, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                     "version " WAYLOOM_VERSION);
    small.setPixelSize(13);
    small.setItalic(true);
    painter.setFont(small);
    painter.drawText(text_area.adjusted(0, 200, 0, 0), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     "GPS waypoints\ninto maps");
    painter.end();

    if (!picture.save(QString::fromLocal8Bit(argv[2]), "BMP")) {
        std::fprintf(stderr, "splash-art: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
