#include "app/toolbar_icons.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace wayloom {

namespace {

// Where the Debian package adwaita-icon-theme puts its full-colour icons.
const char* const theme_folder = "/usr/share/icons/Adwaita/";

// A 24-pixel icon drawn antialiased on a transparent square.
template <class Draw>
QIcon drawn_icon(Draw draw)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

} // namespace

QIcon theme_icon(const QString& name, QChar fallback_letter)
{
    QIcon icon;
    for (const char* size : {"16x16", "22x22", "24x24", "32x32", "48x48"}) {
        const QString file = QString(theme_folder) + size + "/legacy/" + name + ".png";
        if (QFile::exists(file)) icon.addFile(file);
    }
    if (!icon.isNull()) return icon;

    return drawn_icon([fallback_letter](QPainter& painter) {
        painter.setPen(QPen(QColor(60, 60, 60), 1.5));
        painter.setBrush(QColor(235, 235, 235));
        painter.drawRoundedRect(QRectF(2.5, 2.5, 19, 19), 3, 3);
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(13);
        painter.setFont(font);
        painter.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, QString(fallback_letter));
    });
}

QIcon line_icon()
{
    return drawn_icon([](QPainter& painter) {
        painter.setPen(QPen(QColor(40, 90, 160), 2));
        painter.drawPolyline(QPolygon({QPoint(3, 19), QPoint(9, 8), QPoint(15, 15), QPoint(21, 4)}));
    });
}

QIcon polygon_icon()
{
    return drawn_icon([](QPainter& painter) {
        painter.setPen(QPen(QColor(40, 90, 160), 1.5));
        painter.setBrush(QColor(120, 180, 100));
        painter.drawPolygon(QPolygon({QPoint(3, 18), QPoint(8, 4), QPoint(20, 6), QPoint(21, 20)}));
    });
}

} // namespace wayloom
