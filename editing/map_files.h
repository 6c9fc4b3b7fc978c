// The life of the map file: clearing the map, Open map, Merge map, Refresh
// from source, Save map, the question before unsaved work is dropped and the
// names the save and export dialogs propose. The main window and wayloom-cli
// both go through here; nothing in it needs a screen.
//
// After every read and every clear the editor is brought in step with the
// map (map_editor::sync_with_map). Open, New map and Refresh forget the
// history of edits: the map read whole is the saved state, a map taken in
// part has none. A merge is a step of the history; a save makes the map as
// it stands the saved state.
#pragma once

#include "editing/map_editor.h"
#include "editing/unsaved_changes.h"
#include "source/reader.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace wayloom {

inline constexpr std::string_view map_filter = "Wayloom map file [wlm]|*.wlm";
inline constexpr std::string_view bitmap_filter = "Windows bitmap [bmp]|*.bmp";
inline constexpr std::string_view png_filter = "PNG image [png]|*.png";
inline constexpr std::string_view gpx_filter = "GPX file [gpx]|*.gpx";
inline constexpr std::string_view geojson_filter = "GeoJSON [geojson]|*.geojson";
inline constexpr std::string_view kml_filter = "KML [kml]|*.kml";
inline constexpr std::string_view shapefile_filter = "ESRI Shapefile [shp]|*.shp";
inline constexpr std::string_view pdf_filter = "PDF document [pdf]|*.pdf";
inline constexpr std::string_view svg_filter = "SVG drawing [svg]|*.svg";
inline constexpr std::string_view new_map_name = "new.wlm";     // a map never saved
inline constexpr std::string_view new_export_name = "new.bmp";  // every export

// Reads the first file into the document and merges the others after it,
// stopping at the first read that raised an error; that read's report, or
// the last one, with the warnings of all. A failed merge takes back only
// what it added. A ".gpx" file adds its waypoints (see read_gpx), a
// ".geojson" or ".kml" file its features (see read_gis_file).
read_report read_map_files(map_document& doc, std::span<const std::string> files,
                           const after_read& after = {});

// Whether a read's errors come with the Error tab: not for a file that could
// not be opened, which is an error box alone.
bool shows_error_tab(const read_report& report);

// The last part of a path: "b.wlm" for "/a/b.wlm".
std::string file_part(const std::string& file_name);
// A map's name, its file's last part without the extension: "b" for "/a/b.wlm".
std::string map_name(const std::string& file_name);

// A new shape or point set under construction is not yet part of the map:
// a file command would save, export or drop the map without it. The
// message saying why such a command does not run now, or nothing when it
// may ("Finish or cancel the shape being built first").
std::optional<std::string> file_command_refusal(const map_editor& editor);

class map_files {
public:
    // The editor's map and view; the view is projected after every read.
    explicit map_files(map_editor& editor) : editor_(editor) {}

    // Empties the map: an item being built lets go first (see
    // map_editor::release_build_items).
    void clear();
    // New map: the map cleared and taken as saved, under no name.
    void new_map();
    // Open map: the map cleared, then the file read into it.
    read_report open(const std::string& file_name);
    // Merge map: the file read after what the map holds; a ".gpx" file adds
    // its waypoints (Import GPX), a GeoJSON or KML file its features. What
    // it added is one step named `text` ("Merge farm.wlm" when empty).
    read_report merge(const std::string& file_name, std::string text = {});
    // The same without a step of its own, for several files made one step
    // (see record_appended).
    read_report append_file(const std::string& file_name);
    // Refresh from source: the map rebuilt from the source text held, which
    // is the last file read. Does nothing (and reports nothing) when the map
    // has no shape and no set.
    read_report refresh();
    // Whether refresh has anything to rebuild.
    bool can_refresh() const;
    // Save map: writes the map to `file_name`; false with the reason in
    // `error` when it could not.
    bool save(const std::string& file_name, std::string& error);

    // Export GPX: the waypoints, shapes and paths written as GPX; false with
    // the reason in `error`. The map stays as saved or changed as it was.
    bool export_gpx(const std::string& file_name, std::string& error) const;
    // Export to GIS: the map as GeoJSON, KML or Shapefiles, by the name's
    // extension (see save_gis_file); false with the reason in `error`.
    bool export_gis(const std::string& file_name, std::string& error) const;

    // "Save changes to the map?" when the map has unsaved changes; whether
    // the command that would drop the map may go on (see may_drop_map).
    bool may_drop(const std::function<save_answer()>& ask, const std::function<bool()>& save) const;

    // The name the save dialog proposes: the file part of the last save, or
    // "new.wlm".
    std::string proposed_name() const;
    // The map's name on a printed page: the last file opened or saved
    // without its folder and extension, or "new" for a map of no file.
    std::string map_title() const;
    // The name Export GPX proposes: the map's name with ".gpx", or "new.gpx".
    std::string proposed_gpx_name() const;
    // The same with another extension: "farm.geojson".
    std::string proposed_export_name(std::string_view extension) const;
    // The folder of the last file opened or saved, ending with "/"; empty
    // for a map of no file.
    const std::string& map_folder() const { return folder_; }

private:
    map_editor& editor_;
    std::string saved_name_;
    std::string title_name_;  // the file part of the last file opened or saved
    std::string folder_;
    void took_file(const std::string& file_name);

    read_report read(const std::string* file_name);
};

} // namespace wayloom
