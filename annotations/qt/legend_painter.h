// Painting the legend with QPainter, on the map, on the window's preview or
// on an image of its own, and measuring its text in the legend font.
#pragma once

#include "annotations/legend.h"
#include "annotations/legend_layout.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>

class QPaintDevice;
class QPainter;

namespace wayloom {

// `base` (the canvas's font) with the legend's name when it has one, its
// size when above 0, and bold when the legend is bold.
QFont legend_qfont(const legend_font& font, const QFont& base);

// Text height and width in a font on a device (its resolution matters).
class font_measure : public text_measure {
public:
    font_measure(const QFont& font, QPaintDevice* device) : metrics_(font, device) {}
    std::int32_t text_width(std::string_view text) const override;
    std::int32_t text_height(std::string_view text) const override;

private:
    QFontMetrics metrics_;
};

// The legend font's measure on `device`.
font_measure legend_measure(const legend_font& font, QPaintDevice* device);

// update_legend measuring with the legend font on `device`.
void update_legend_on(legend_state& legend, const map_document& doc, QPaintDevice* device);

// The legend's block and entries with the top-left corner at (x, y) on the
// map background colour. Does nothing while another drawing of the legend
// runs (busy).
void draw_legend(QPainter& painter, legend_state& legend, std::int32_t x, std::int32_t y,
                 colour_value background);

// The legend alone on an image of its own size, as Save writes it; a null
// image when it has no entries.
QImage legend_image(legend_state& legend, colour_value background);

} // namespace wayloom
