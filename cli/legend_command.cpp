#include "annotations/qt/legend_painter.h"
#include "cli/commands.h"
#include "cli/drawing_support.h"
#include "cli/legend_options.h"
#include "cli/map_loading.h"
#include "view/bitmap_export.h"

#include <QImage>

#include <array>
#include <iostream>

namespace wayloom::cli {

namespace {

constexpr std::string_view legend_usage =
    "usage: wayloom-cli legend MAP [MAP...] (--shapes NAME,... | --classes NAME,...) "
    "[--font-size N] [--bold] -o FILE.bmp|FILE.png";

int usage(std::string_view problem = {}) { return wrong_arguments(legend_usage, problem); }

} // namespace

int legend_command(arguments args)
{
    constexpr std::array<std::string_view, 5> with_value{"-o", "--output", "--shapes", "--classes",
                                                         "--font-size"};
    constexpr std::array<std::string_view, 1> flags{"--bold"};
    parsed_arguments parsed;
    std::string problem;
    if (!parse_arguments(args, with_value, flags, parsed, problem)) return usage(problem);
    const std::string* out = parsed.output();
    legend_request request;
    if (auto wrong = read_legend_options(parsed, "--shapes", "--classes", false, request))
        return usage(*wrong);
    if (!out || parsed.files.empty() || !request.wanted) return usage();

    map_document doc;
    if (!read_maps(doc, parsed.files, std::cerr)) return 1;
    if (auto missing = choose_legend_items(request, doc)) {
        std::cerr << "error: " << *missing << '\n';
        return 1;
    }

    const offscreen_application application;
    // Measured as the window measures on the map's surface; a white map.
    QImage surface(1, 1, QImage::Format_RGB32);
    update_legend_on(request.legend, doc, &surface);
    const colour_value background = make_colour(255, 255, 255);
    const QImage image = legend_image(request.legend, background);
    std::string error;
    if (!save_bitmap(image, request.legend.layout.width, request.legend.layout.height, *out, &error)) {
        std::cerr << "error: " << error << '\n';
        return 1;
    }
    std::cout << "wrote " << *out << ", " << image.width() << " x " << image.height() << " pixels\n";
    return 0;
}

} // namespace wayloom::cli
