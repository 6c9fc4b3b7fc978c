#include "app/window_position.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace wayloom {

std::vector<monitor_rect> present_monitors()
{
    std::vector<monitor_rect> monitors;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect g = screen->geometry();
        monitors.push_back({g.left(), g.top(), g.width(), g.height(), screen == primary});
    }
    return monitors;
}

std::int32_t load_placement(QWidget& window, const ini_file& settings, std::string_view section)
{
    stored_placement stored;
    stored.monitor = settings.read_integer(section, "monitor", -1);
    if (settings.contains(section, "left")) stored.left = settings.read_integer(section, "left", 0);
    if (settings.contains(section, "top")) stored.top = settings.read_integer(section, "top", 0);

    const std::vector<monitor_rect> monitors = present_monitors();
    // With no monitor marked primary the whole virtual desktop stands in.
    QRect desktop;
    for (const QScreen* screen : QGuiApplication::screens()) desktop |= screen->geometry();
    const placement at = place_window(monitors, desktop.width(), desktop.height(), stored,
                                      window.width(), window.height());
    window.move(at.left, at.top);
    return at.monitor;
}

void save_placement(const QWidget& window, ini_file& settings, std::string_view section)
{
    const std::vector<monitor_rect> monitors = present_monitors();
    const QPoint at = window.pos();
    settings.write_integer(section, "monitor",
                           monitor_of(monitors, at.x(), at.y(), window.width(), window.height()));
    settings.write_integer(section, "left", at.x());
    settings.write_integer(section, "top", at.y());
}

} // namespace wayloom
