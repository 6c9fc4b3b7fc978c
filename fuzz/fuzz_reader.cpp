// Feeds arbitrary bytes to the map reader, then writes what it read and
// reads that back: neither may crash, leak or trip a sanitizer, and the
// written text must always read back without error.
#include "source/reader.h"
#include "source/writer.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace wayloom;
    map_document doc;
    doc.source.set_text(std::string(reinterpret_cast<const char*>(data), size));
    read_from_file(doc);

    update_map_source(doc);
    map_document again;
    again.source.set_text(doc.source.text());
    const read_report report = read_from_file(again);
    if (!report.ok()) std::abort();
    return 0;
}
