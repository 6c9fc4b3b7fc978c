// Feeds arbitrary bytes to the map reader, whole and in small parts as a
// file is read, then writes what it read and reads that back: nothing may
// crash, leak or trip a sanitizer, both reads must leave the same map and
// messages, and the written text must always read back without error.
#include "source/reader.h"
#include "source/writer.h"
#include "tests/source/text_in_pieces.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace wayloom;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    map_document doc;
    doc.source.set_text(std::string(text));
    const read_report whole = read_from_file(doc);

    map_document parted;
    // The part's size is set by the text's first byte.
    testing::text_in_pieces parts(text, text.empty() ? 1 : 1 + static_cast<unsigned char>(text[0]) % 8);
    const read_report in_parts = read_text(parted, parts);
    if (in_parts.errors != whole.errors || in_parts.error_line != whole.error_line ||
        in_parts.completed != whole.completed)
        std::abort();
    update_map_source(parted);

    update_map_source(doc);
    if (parted.source.text() != doc.source.text()) std::abort();
    map_document again;
    again.source.set_text(doc.source.text());
    const read_report report = read_from_file(again);
    if (!report.ok()) std::abort();
    return 0;
}
