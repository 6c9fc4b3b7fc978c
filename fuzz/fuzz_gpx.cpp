// Feeds arbitrary bytes to the GPX reader. What it read must write back as
// GPX and as a map, and each must read again without error and with the
// same waypoints, as a GPX file opened and saved does.
#include "source/gpx_reader.h"
#include "source/gpx_writer.h"
#include "source/reader.h"
#include "source/writer.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace wayloom;
    map_document doc;
    read_gpx_text(doc, std::string_view(reinterpret_cast<const char*>(data), size));

    map_document as_gpx;
    if (!read_gpx_text(as_gpx, gpx_text(doc)).ok() || as_gpx.waypoint_count() != doc.waypoint_count())
        std::abort();

    update_map_source(doc);
    map_document as_map;
    as_map.source.set_text(doc.source.text());
    if (!read_from_file(as_map).ok() || as_map.waypoint_count() != doc.waypoint_count()) std::abort();
    return 0;
}
