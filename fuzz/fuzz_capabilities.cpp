// Feeds arbitrary bytes as a protocol array, and the first four as a
// product id and software version for the built-in table. Every reader
// chosen must be one the link knows, in the slot of its application.
#include "gps/capabilities.h"

#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

using namespace wayloom::gps;

void check_readers(const capabilities& c)
{
    for (std::size_t slot = 0; slot < c.readers.size(); ++slot) {
        const record_reader& r = c.readers[slot];
        if (r.kind == reader_kind::empty) continue;
        const auto known = reader_for(r.data_type);
        if (!known || known->reader != r || known->slot != slot) std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const capabilities learnt = decode_protocol_array(bytes);
    check_readers(learnt);
    if (size >= 4) {
        const auto product = static_cast<std::uint16_t>(data[0] | data[1] << 8);
        const auto version = static_cast<std::uint16_t>(data[2] | data[3] << 8);
        check_readers(from_capability_table(learnt.protocols, product, version));
        check_readers(from_capability_table(protocol_capabilities{}, product, version));
    }
    return 0;
}
