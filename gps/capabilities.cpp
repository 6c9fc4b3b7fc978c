#include "gps/capabilities.h"

#include "gps/capability_table.h"

#include <utility>

namespace wayloom::gps {

namespace {

const char* const application_names[] = {"waypoint 100", "route 200",     "track 300",    "proximity 400",
                                         "almanac 500",  "date_time 600", "position 700", "pvt 800"};

// The decoders write into one result, logging as they go.
struct decoder {
    capabilities out;

    void log(std::string line) { out.log.push_back(std::move(line)); }

    bool set_link_protocol(int number)
    {
        protocol_capabilities& record = out.protocols;
        if (has(record.link, protocol::L001)) {
            record.link_packet_ids = l001_packet_ids;
            log("link layer 001");
            return true;
        }
        if (has(record.link, protocol::L002)) {
            record.link_packet_ids = l002_packet_ids;
            log("link layer 002");
            return true;
        }
        log("unknown link layer protocol : " + std::to_string(number));
        record.protocol_flags |= flag_skip_next_data_type;
        return false;
    }

    void set_application_protocols(protocol_set set)
    {
        using namespace protocol;
        protocol_capabilities& record = out.protocols;
        if (has(set, A010)) {
            record.command_ids = a010_command_ids;
            log("command layer 010");
        }
        if (has(set, A011)) {
            record.command_ids = a011_command_ids;
            log("command layer 011");
        }
        for (int app = 0; app < 8; ++app) {
            const auto item = static_cast<protocol_item>(static_cast<int>(A100) + app);
            if (!has(set, item)) continue;
            record.protocol_flags &= static_cast<std::uint16_t>(~flag_skip_next_data_type);
            record.protocol_flags |= static_cast<std::uint16_t>(1u << app);
            record.applications[static_cast<std::size_t>(app)] = bit(item);
            log(application_names[app]);
        }
    }

    void set_data_type(int number)
    {
        if (const auto choice = reader_for(number))
            out.readers[choice->slot] = choice->reader;
        else
            log("unknown data structure");
    }

    void set_data_types(protocol_set set)
    {
        using namespace protocol;
        // D105, D106, D202, D210, D301 and D310 are not taken from the table.
        const protocol_set dropped = bit(D105) | bit(D106) | bit(D202) | bit(D210) | bit(D301) | bit(D310);
        protocol_set kept = 0;
        for (int i = static_cast<int>(D100); i <= static_cast<int>(D800); ++i) kept |= protocol_set{1} << i;
        set &= kept & ~dropped;
        if (set == 0) return;
        out.supported = true;
        for (int i = 0; i < protocol_item_count; ++i) {
            const auto item = static_cast<protocol_item>(i);
            if (has(set, item)) set_data_type(data_type_number(item));
        }
    }
};

} // namespace

std::optional<reader_choice> reader_for(int data_type)
{
    struct row {
        int number;
        application slot;
        reader_kind kind;
        int size;
    };
    static const row rows[] = {
        {100, app_waypoint, reader_kind::d100, 58},   {101, app_waypoint, reader_kind::d100, 63},
        {102, app_waypoint, reader_kind::d100, 64},   {103, app_waypoint, reader_kind::d100, 60},
        {104, app_waypoint, reader_kind::d100, 65},   {107, app_waypoint, reader_kind::d100, 65},
        {150, app_waypoint, reader_kind::d100, 115},  {151, app_waypoint, reader_kind::d100, 124},
        {152, app_waypoint, reader_kind::d100, 124},  {154, app_waypoint, reader_kind::d100, 126},
        {105, app_waypoint, reader_kind::d105, 10},   {106, app_waypoint, reader_kind::d105, 24},
        {155, app_waypoint, reader_kind::d105, 127},  {108, app_waypoint, reader_kind::d108, 48},
        {109, app_waypoint, reader_kind::d109, 52},   {200, app_route, reader_kind::ignore, 0},
        {201, app_route, reader_kind::ignore, 0},     {202, app_route, reader_kind::ignore, 0},
        {210, app_route, reader_kind::ignore, 0},     {300, app_track, reader_kind::ignore, 0},
        {301, app_track, reader_kind::ignore, 0},     {310, app_track, reader_kind::ignore, 0},
        {400, app_proximity, reader_kind::ignore, 0}, {403, app_proximity, reader_kind::ignore, 0},
        {450, app_proximity, reader_kind::ignore, 0}, {500, app_almanac, reader_kind::ignore, 0},
        {501, app_almanac, reader_kind::ignore, 0},   {550, app_almanac, reader_kind::ignore, 0},
        {551, app_almanac, reader_kind::ignore, 0},   {600, app_date_time, reader_kind::ignore, 0},
        {700, app_position, reader_kind::ignore, 0},  {800, app_pvt, reader_kind::ignore, 0},
    };
    for (const row& r : rows)
        if (r.number == data_type) return reader_choice{r.slot, {r.kind, r.size, data_type}};
    return std::nullopt;
}

capabilities decode_protocol_array(std::span<const std::uint8_t> data)
{
    using namespace protocol;
    decoder d;
    protocol_capabilities& record = d.out.protocols;
    protocol_set current = 0;
    // The route or track layout the data types that follow belong to: the
    // application of the last "A" record, whatever its number.
    transfer_layout* listing = nullptr;
    for (std::size_t k = 0; k + 3 <= data.size(); k += 3) {
        const char tag = static_cast<char>(data[k]);
        const int number = data[k + 1] | data[k + 2] << 8;
        switch (tag) {
        case 'P':
            if (number == 0) {
                record.physical = bit(P000);
                d.log("physical layer 001");
            }
            break;
        case 'L':
            if (number == 1) record.link = bit(L001);
            if (number == 2) record.link = bit(L002);
            if (d.set_link_protocol(number)) d.out.supported = true;
            break;
        case 'A': {
            // Any other number repeats the last application protocol recognised.
            static const std::pair<int, protocol_item> known[] = {{10, A010},  {11, A011},  {100, A100}, {200, A200},
                                                                  {300, A300}, {400, A400}, {500, A500}, {600, A600},
                                                                  {700, A700}, {800, A800}};
            for (const auto& [n, item] : known) {
                if (n != number) continue;
                current = bit(item);
                if (n == 10 || n == 11) record.command_and_applications = current;
            }
            d.set_application_protocols(current);
            listing = nullptr;
            if (number >= 200 && number < 300) listing = &d.out.routes;
            if (number >= 300 && number < 400) listing = &d.out.tracks;
            if (listing) *listing = {number, {}};
            break;
        }
        case 'D':
            if (record.protocol_flags & flag_skip_next_data_type) {
                record.protocol_flags &= static_cast<std::uint16_t>(~flag_skip_next_data_type);
                break;
            }
            d.log("data structure : " + std::to_string(number));
            d.set_data_type(number);
            if (listing) listing->data_types.push_back(number);
            break;
        default:
            break;
        }
    }
    return d.out;
}

capabilities from_capability_table(const protocol_capabilities& current, std::uint16_t product_id,
                                   std::uint16_t software_version)
{
    decoder d;
    d.out.protocols = current;
    const auto& index = capability_index();
    const auto& table = capability_table();
    if (product_id == 0 || product_id >= index.size() || index[product_id] == 0) {
        d.log("unknown gps handset");
        return d.out;
    }
    // A product's rows follow each other in rising version bound.
    std::size_t row = index[product_id] - 1u;
    while (row < table.size() && table[row].product_id == product_id && table[row].version_bound < software_version)
        ++row;
    if (row >= table.size() || table[row].product_id != product_id) {
        d.log("unknown gps handset");
        return d.out;
    }
    const capability_row& r = table[row];
    d.out.protocols.physical = r.physical;
    d.out.protocols.link = r.link;
    d.set_link_protocol(0);
    d.out.protocols.command_and_applications = r.command_and_applications;
    d.set_application_protocols(r.command_and_applications);
    for (const protocol_set s : {r.waypoint, r.route, r.track, r.almanac, r.date_time, r.position, r.pvt})
        d.set_data_types(s);
    // The table's routes go by A200, a header and the waypoint layout; its
    // tracks by A300 and D300.
    const auto listed = [](protocol_set set, int low, int high) {
        for (int i = 0; i < protocol_item_count; ++i) {
            const int number = data_type_number(static_cast<protocol_item>(i));
            if (has(set, static_cast<protocol_item>(i)) && number >= low && number <= high) return number;
        }
        return 0;
    };
    const int header = listed(r.route, 200, 202), waypoint = listed(r.route, 100, 199);
    if (has(r.command_and_applications, protocol::A200) && header && waypoint)
        d.out.routes = {200, {header, waypoint}};
    if (has(r.command_and_applications, protocol::A300) && has(r.track, protocol::D300))
        d.out.tracks = {300, {300}};
    return d.out;
}

} // namespace wayloom::gps
