#include "editing/clean_name.h"

namespace wayloom {

std::string clean_name(std::string_view text, std::int32_t& no_name_counter)
{
    if (text.empty()) return "no-name" + std::to_string(no_name_counter++);
    std::string cleaned(text);
    for (char& c : cleaned) {
        switch (c) {
        case '\t': case ' ': case '+': case '-': case '.': case '{': case '}': c = '_'; break;
        default: break;
        }
    }
    return cleaned;
}

} // namespace wayloom
