#include "cli/map_loading.h"

#include "cli/large_heap.h"
#include "editing/map_files.h"
#include "gis/gis_files.h"
#include "source/gpx_reader.h"
#include "source/gpx_writer.h"
#include "source/writer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>

namespace wayloom::cli {

bool read_maps(map_document& doc, std::span<const std::string> files, std::ostream& errors,
               const after_read& after)
{
    // A command writes from the map, never from the held source, so the
    // source need only be readable while it is read.
    doc.source.set_holding(text_holding::streamed);
    doc.lists_waypoints = false;
    std::uintmax_t input_bytes = 0;
    for (const std::string& file : files) {
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(file, ec);
        if (!ec) input_bytes += size;
    }
    prepare_heap(input_bytes);
    const read_report report = read_map_files(doc, files, after);
    for (const std::string& warning : report.warnings) errors << "warning: " << warning << '\n';
    if (report.ok()) return true;
    for (const std::string& message : report.errors) errors << "error: " << message << '\n';
    print_error_lines(doc, report.error_line, errors);
    return false;
}

void print_error_lines(const map_document& doc, std::size_t error_line, std::ostream& out)
{
    if (doc.error_list.empty()) return;
    // The list holds the lines from ten before the error line on.
    const std::size_t at = std::min(error_line, doc.source.count() - 1);
    const std::size_t first = at < 10 ? 0 : at - 10;
    char number[16];
    for (std::size_t i = 0; i < doc.error_list.size(); ++i) {
        const list_entry& entry = doc.error_list.entries[i];
        std::snprintf(number, sizeof number, "%5zu", first + i + 1);
        out << number << (entry.selected ? '>' : ' ') << ' ' << entry.text << '\n';
    }
}

const std::string* parsed_arguments::option(std::string_view name) const
{
    for (const auto& [key, value] : options)
        if (key == name) return &value;
    return nullptr;
}

bool parsed_arguments::has_flag(std::string_view name) const
{
    return std::find(flags.begin(), flags.end(), name) != flags.end();
}

const std::string* parsed_arguments::output() const
{
    const std::string* out = option("-o");
    return out ? out : option("--output");
}

bool parse_arguments(std::span<const std::string_view> args,
                     std::span<const std::string_view> with_value,
                     std::span<const std::string_view> flags, parsed_arguments& out,
                     std::string& problem)
{
    auto listed = [](std::span<const std::string_view> list, std::string_view name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg.size() > 1 && arg[0] == '-') {
            if (listed(flags, arg)) {
                out.flags.emplace_back(arg);
            } else if (listed(with_value, arg)) {
                if (i + 1 >= args.size()) {
                    problem = "missing value after " + std::string(arg);
                    return false;
                }
                out.options.emplace_back(std::string(arg), std::string(args[++i]));
            } else {
                problem = "unknown option " + std::string(arg);
                return false;
            }
        } else {
            out.files.emplace_back(arg);
        }
    }
    return true;
}

std::optional<std::string> read_unit_option(const parsed_arguments& parsed, unit_choice& unit)
{
    const std::string* text = parsed.option("--unit");
    if (!text) return std::nullopt;
    const auto named = unit_named(*text);
    if (!named) return "--unit wants metre, kilometre, feet, yard or mile, not " + *text;
    unit = *named;
    return std::nullopt;
}

int wrong_arguments(std::string_view usage, std::string_view problem)
{
    std::cerr << usage << '\n';
    if (!problem.empty()) std::cerr << problem << '\n';
    return 2;
}

int write_map(const map_document& doc, const std::string& file)
{
    std::string error;
    // Nothing reads the held source after a command's save: the map goes
    // straight from the model to the file.
    const bool written = is_gpx_file_name(file) ? save_gpx(doc, file, &error)
                         : gis_format_of(file)  ? save_gis_file(doc, file, &error)
                                                : write_map_file(doc, file, &error);
    if (written) return 0;
    std::cerr << "error: cannot write " << file << ": " << error << '\n';
    return 1;
}

} // namespace wayloom::cli
