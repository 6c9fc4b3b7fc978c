#include "gps/protocols.h"

namespace wayloom::gps {

int data_type_number(protocol_item i)
{
    static constexpr int numbers[] = {
        100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 150, 151, 152, 154, 155,
        200, 201, 202, 210, 300, 301, 310, 400, 403, 450, 500, 501, 550, 551, 600, 700, 800,
    };
    switch (i) {
    case protocol_item::D302: return 302;
    case protocol_item::D303: return 303;
    case protocol_item::D304: return 304;
    case protocol_item::D311: return 311;
    case protocol_item::D312: return 312;
    default: break;
    }
    const int k = static_cast<int>(i) - static_cast<int>(protocol_item::D100);
    if (k < 0 || k >= static_cast<int>(sizeof numbers / sizeof numbers[0])) return 0;
    return numbers[k];
}

} // namespace wayloom::gps
