// Map text read from where it is kept: the held source, or a file read
// whole into it or a block at a time.
#include "source/file_feed.h"
#include "source/reader.h"

#include <filesystem>
#include <optional>

namespace wayloom {

read_report read_from_file(map_document& doc, const after_read& after)
{
    held_text text(doc.source.whole());
    const read_report report = read_text(doc, text, after);
    if (!report.ok()) doc.source.show_error(report.error_line, doc.error_list);
    return report;
}

read_report read_map(map_document& doc, const std::string& file_name, const after_read& after)
{
    read_report missing;
    missing.errors.push_back("Cant find : " + file_name);
    missing.missing = true;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file_name, ec)) return missing;
    if (doc.source.holding() == text_holding::copied) {
        std::optional<std::string> text = read_whole_file(file_name);
        if (!text) return missing;
        doc.source.set_text(std::move(*text));
        return read_from_file(doc, after);
    }
    file_feed file(file_name);
    if (!file.opened()) return missing;
    doc.source.clear();
    const read_report report = read_text(doc, file, after);
    if (report.ok() || file.cut_short()) return report;
    // The lines around the error, from the file read again: a text read
    // once is not kept.
    if (std::optional<std::string> text = read_whole_file(file_name)) doc.source.set_text(std::move(*text));
    doc.source.show_error(report.error_line, doc.error_list);
    return report;
}

} // namespace wayloom
