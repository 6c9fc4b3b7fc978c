// What a handset speaks, learnt at start-up: from the protocol array it
// sends, or from the built-in table by product id and software version when
// it sends none. Pure functions; the log lines they would write come back
// with the result, in order.
#pragma once

#include "gps/protocols.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wayloom::gps {

// Which record reader a data type chooses.
enum class reader_kind : std::uint8_t { empty, d100, d105, d108, d109, ignore };
struct record_reader {
    reader_kind kind = reader_kind::empty;  // empty: does nothing and fails
    int size = 0;       // the fixed part of the record, in bytes
    int data_type = 0;  // 108 for D108 and so on

    bool operator==(const record_reader&) const = default;
};

struct reader_choice {
    application slot;
    record_reader reader;
};
// The reader of a data type number and the application it serves; nothing
// for a number the link does not know.
std::optional<reader_choice> reader_for(int data_type);

// How a handset sends its routes or its tracks: the transfer protocol (200
// or 201; 300, 301 or 302; 0 for none) and the data types listed with it,
// in order: route header, route waypoint and link; track header (for 301
// and 302) and track point.
struct transfer_layout {
    int protocol = 0;
    std::vector<int> data_types;

    bool operator==(const transfer_layout&) const = default;
};

struct capabilities {
    protocol_capabilities protocols;
    std::array<record_reader, 8> readers{};  // one per application
    bool supported = false;                  // a usable link protocol or data type was found
    std::vector<std::string> log;
    transfer_layout routes, tracks;
};

// Decodes a protocol array (3-byte records: tag, 16-bit number) into a
// cleared record; a trailing part record is ignored.
capabilities decode_protocol_array(std::span<const std::uint8_t> data);

// The table's row for a handset without a protocol array, applied over the
// record the link holds now; "unknown gps handset" and no readers when no row fits.
capabilities from_capability_table(const protocol_capabilities& current, std::uint16_t product_id,
                                   std::uint16_t software_version);

} // namespace wayloom::gps
