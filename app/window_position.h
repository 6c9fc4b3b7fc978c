// Storing and restoring a window's place on the desktop in its settings
// section (keys "monitor", "left", "top"), over the monitors Qt reports.
#pragma once

#include "app/ini_file.h"
#include "app/window_placement.h"

#include <string_view>
#include <vector>

class QWidget;

namespace wayloom {

// The attached monitors, in QGuiApplication::screens() order.
std::vector<monitor_rect> present_monitors();

// Moves the window where its section says (see place_window) and returns
// the monitor it was placed on.
std::int32_t load_placement(QWidget& window, const ini_file& settings, std::string_view section);

// Writes the monitor the window is on and its left and top edges.
void save_placement(const QWidget& window, ini_file& settings, std::string_view section);

} // namespace wayloom
