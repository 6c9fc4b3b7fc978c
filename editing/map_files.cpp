#include "editing/map_files.h"

#include "editing/undo_commands.h"
#include "gis/gis_files.h"
#include "source/gpx_reader.h"
#include "source/gpx_writer.h"
#include "source/writer.h"
#include "view/geometry/map_refresh.h"

namespace wayloom {

namespace {

// A map file, or the waypoints of a GPX file, or the features of a GIS file.
read_report read_any(map_document& doc, const std::string& file, const after_read& after)
{
    if (is_gpx_file_name(file)) return read_gpx(doc, file, after);
    if (is_readable_gis_file(file)) return read_gis_file(doc, file, after);
    return read_map(doc, file, after);
}

} // namespace

read_report read_map_files(map_document& doc, std::span<const std::string> files,
                           const after_read& after)
{
    read_report report;
    std::vector<std::string> warnings;
    for (const std::string& file : files) {
        report = read_any(doc, file, after);
        warnings.insert(warnings.end(), report.warnings.begin(), report.warnings.end());
        if (!report.ok()) break;
    }
    report.warnings = std::move(warnings);
    return report;
}

bool shows_error_tab(const read_report& report) { return !report.ok() && !report.missing; }

std::string file_part(const std::string& file_name)
{
    const auto slash = file_name.find_last_of('/');
    return slash == std::string::npos ? file_name : file_name.substr(slash + 1);
}

std::string map_name(const std::string& file_name)
{
    std::string name = file_part(file_name);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

std::optional<std::string> file_command_refusal(const map_editor& editor)
{
    if (editor.shape_builder().holds_new() && editor.shape_builder().size(editor.doc()) > 0)
        return "Finish or cancel the shape being built first";
    if (editor.set_builder().holds_new() && editor.set_builder().size(editor.doc()) > 0)
        return "Finish or cancel the point set being built first";
    return std::nullopt;
}

void map_files::took_file(const std::string& file_name)
{
    title_name_ = file_part(file_name);
    folder_ = file_name.substr(0, file_name.size() - title_name_.size());
}

void map_files::clear()
{
    editor_.release_build_items();
    editor_.doc().demolish();
    editor_.sync_with_map();
}

// The view's reading flag keeps the surface from painting a half-read map.
read_report map_files::read(const std::string* file_name)
{
    view_state& view = editor_.view();
    view.reading_map = true;
    const read_report report = file_name ? read_any(editor_.doc(), *file_name, view_after_read(view))
                                         : read_from_file(editor_.doc(), view_after_read(view));
    view.reading_map = false;
    editor_.sync_with_map();
    return report;
}

void map_files::new_map()
{
    clear();
    saved_name_.clear();
    title_name_.clear();
    folder_.clear();
}

read_report map_files::open(const std::string& file_name)
{
    clear();
    took_file(file_name);
    const read_report report = read(&file_name);
    // A map the reader could only take in part is not the file any more.
    if (!report.ok() && !editor_.doc().empty()) editor_.history().lose_clean();
    return report;
}

read_report map_files::merge(const std::string& file_name, std::string text)
{
    map_document& doc = editor_.doc();
    const map_mark before = doc.mark();
    // A map file's read replaces the source text held, which an undo gives back.
    std::optional<tsource_text> replaced;
    if (!is_gpx_file_name(file_name) && !is_readable_gis_file(file_name)) {
        replaced.emplace();
        replaced->set_holding(doc.source.holding());
        std::swap(*replaced, doc.source);
    }
    const read_report report = read(&file_name);
    if (replaced && report.missing) {
        std::swap(*replaced, doc.source);  // nothing was read
        replaced.reset();
    }
    if (text.empty()) text = "Merge " + file_part(file_name);
    record_appended(editor_, before, std::move(text), std::move(replaced));
    return report;
}

read_report map_files::append_file(const std::string& file_name) { return read(&file_name); }

bool map_files::can_refresh() const
{
    return !editor_.doc().shapes.empty() || !editor_.doc().sets.empty();
}

read_report map_files::refresh()
{
    if (!can_refresh()) return {};
    editor_.release_build_items();
    editor_.doc().demolish();
    const read_report report = read(nullptr);
    if (!report.ok() && !editor_.doc().empty()) editor_.history().lose_clean();
    return report;
}

bool map_files::save(const std::string& file_name, std::string& error)
{
    if (!save_map(editor_.doc(), file_name, &error)) return false;
    took_file(file_name);
    saved_name_ = title_name_;
    editor_.history().set_clean();
    return true;
}

bool map_files::may_drop(const std::function<save_answer()>& ask,
                         const std::function<bool()>& save) const
{
    return may_drop_map(editor_.modified(), ask, save);
}

std::string map_files::proposed_name() const
{
    return saved_name_.empty() ? std::string(new_map_name) : saved_name_;
}

std::string map_files::map_title() const
{
    return title_name_.empty() ? "new" : map_name(title_name_);
}

bool map_files::export_gpx(const std::string& file_name, std::string& error) const
{
    return save_gpx(editor_.doc(), file_name, &error);
}

std::string map_files::proposed_gpx_name() const { return proposed_export_name("gpx"); }

bool map_files::export_gis(const std::string& file_name, std::string& error) const
{
    return save_gis_file(editor_.doc(), file_name, &error);
}

std::string map_files::proposed_export_name(std::string_view extension) const
{
    const std::string ending = "." + std::string(extension);
    if (saved_name_.empty()) return "new" + ending;
    const auto dot = saved_name_.rfind('.');
    return (dot == std::string::npos ? saved_name_ : saved_name_.substr(0, dot)) + ending;
}

} // namespace wayloom
