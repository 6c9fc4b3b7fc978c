// Feeds arbitrary bytes as a waypoint record: the first byte picks the
// layout, the rest is the packet data. The waypoint read from it goes into a
// map that is written and read back, which must read without error, as a
// downloaded waypoint saved to a file does. Then the same bytes as a name,
// a position and an altitude go through the handset simulator's encoder,
// written independently from the link code, and must decode to what was
// encoded.
#include "gps/waypoint_record.h"
#include "records.h"
#include "source/reader.h"
#include "source/writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

namespace {

using namespace wayloom;

constexpr std::array layouts{100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 150, 151, 152, 154, 155};

void check(bool holds)
{
    if (!holds) std::abort();
}

void saved_and_read_back(const gps::waypoint_fields& fields)
{
    map_document doc;
    t_waypoint& w = doc.create_waypoint();
    w.name = fields.name;
    w.lat = fields.lat;
    w.lon = fields.lon;
    if (fields.alt) w.alt = *fields.alt;
    update_map_source(doc);
    map_document again;
    again.source.set_text(doc.source.text());
    check(read_from_file(again).ok());
    check(again.waypoints.size() == 1);
}

std::int32_t int32_from(std::span<const std::uint8_t> b)
{
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4 && i < b.size(); ++i) v |= static_cast<std::uint32_t>(b[i]) << (8 * i);
    return static_cast<std::int32_t>(v);
}

void encoded_and_decoded(int layout, std::span<const std::uint8_t> bytes)
{
    handset::waypoint sent;
    sent.lat = handset::to_degrees(int32_from(bytes));
    sent.lon = handset::to_degrees(int32_from(bytes.subspan(std::min<std::size_t>(4, bytes.size()))));
    const std::int32_t alt_bits = int32_from(bytes.subspan(std::min<std::size_t>(8, bytes.size())));
    std::memcpy(&sent.alt, &alt_bits, 4);
    const auto rest = bytes.subspan(std::min<std::size_t>(12, bytes.size()));
    sent.name.assign(rest.begin(), rest.end());
    // A name that leaves no room for the frame is not sent.
    if (sent.name.size() > 180) sent.name.resize(180);

    const auto reader = gps::reader_for(layout)->reader;
    const std::vector<std::uint8_t> record = handset::encode_waypoint(sent, layout);
    const gps::waypoint_fields got = gps::decode_waypoint(reader, record, 7);
    check(got.lat == gps::semicircles_to_degrees(handset::to_semicircles(sent.lat)));
    check(got.lon == gps::semicircles_to_degrees(handset::to_semicircles(sent.lon)));
    switch (reader.kind) {
    case gps::reader_kind::d100: {
        std::string padded = sent.name.substr(0, 6);
        padded.resize(6, ' ');
        check(got.name == padded);
        break;
    }
    case gps::reader_kind::d105:
        check(got.name == "7");
        break;
    default: {
        const std::string ident = sent.name.substr(0, std::min(sent.name.find('\0'), std::size_t{64}));
        check(got.name == ident);
        // Past 1e24 metres, handsets' "not valid" 1e25 among them, is no altitude.
        if (has_altitude(sent.alt))
            check(got.alt && std::memcmp(&*got.alt, &sent.alt, 4) == 0);
        else
            check(!got.alt);
        check(got.complete);
        break;
    }
    }
    saved_and_read_back(got);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const int layout = layouts[data[0] % layouts.size()];
    const std::span<const std::uint8_t> record(data + 1, size - 1);
    const gps::waypoint_fields fields = gps::decode_waypoint(gps::reader_for(layout)->reader, record, 1);
    saved_and_read_back(fields);
    encoded_and_decoded(layout, record);
    return 0;
}
