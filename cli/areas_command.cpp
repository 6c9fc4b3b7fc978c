#include "cli/commands.h"
#include "cli/map_loading.h"
#include "source/number_text.h"
#include "view/geometry/ellipsoidal_area.h"
#include "view/geometry/map_refresh.h"

#include <iostream>
#include <variant>

namespace wayloom::cli {

int areas_command(arguments args)
{
    parsed_arguments parsed;
    std::string problem;
    if (!parse_arguments(args, {}, {}, parsed, problem) || parsed.files.empty())
        return wrong_arguments("usage: wayloom-cli areas MAP [MAP...]", problem);
    map_document doc;
    view_state state;
    if (!read_maps(doc, parsed.files, std::cerr, view_after_read(state))) return 1;

    for (const list_entry& entry : doc.shape_list.entries) {
        const t_shape* const* shape = std::get_if<t_shape*>(&entry.object);
        if (!shape || !*shape) continue;
        const t_shape& s = **shape;
        std::cout << entry.text << ": area " << format_fixed(s.area, 6) << " square map units, coverage "
                  << format_fixed(s.coverage, 2) << "%, ellipsoid " << format_fixed(ellipsoidal_area(s), 1)
                  << " m2" << (s.is_path() ? " (path, ring closed)" : "") << '\n';
    }
    return 0;
}

} // namespace wayloom::cli
