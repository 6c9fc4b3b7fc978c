// The print dialog: the printer's own settings (paper, orientation, or a
// PDF file instead of a printer) and a page of ours with the map's scale.
#pragma once

#include <optional>
#include <string>

class QPrinter;
class QWidget;

namespace wayloom {

// The scales the field offers; any "1:N" may be typed.
inline constexpr const char* offered_scales[] = {"fit to page", "1:1000", "1:2500",
                                                 "1:5000",      "1:10000", "1:25000"};

// Shows the dialog on `printer` with the scale field holding `scale`; the
// scale as typed, or nothing when cancelled.
std::optional<std::string> ask_print(QPrinter& printer, const std::string& scale, QWidget* parent);

} // namespace wayloom
