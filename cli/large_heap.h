// The heap of a run that reads large maps.
#pragma once

#include <cstdint>

namespace wayloom::cli {

// Before reading `input_bytes` of maps: keeps every allocation on the one
// heap, grown once to about the room the map will take and backed by huge
// pages. A large map is hundreds of thousands of small records, and having
// the system fault them in 4 KiB at a time costs as much as reading the text.
// Small inputs leave the heap as it is.
void prepare_heap(std::uintmax_t input_bytes);

} // namespace wayloom::cli
