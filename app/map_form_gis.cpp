// The main window's File "Export to GIS...": the save dialog offering
// GeoJSON, KML and Shapefile. The writing is in gis/ through
// editing/map_files.h; Open and Merge read GeoJSON and KML by themselves.
#include "app/map_form.h"
#include "gis/gis_files.h"

namespace wayloom {

void Tmap_form::export_gis_itemClick()
{
    if (refuses_file_command() || doc.empty()) return;
    const save_request request{save_path,
                               {std::string(geojson_filter), std::string(kml_filter), std::string(shapefile_filter)},
                               "geojson",
                               files.proposed_export_name("geojson")};
    const std::optional<save_choice> choice = services_.save_file(request);
    if (!choice) return;
    // A name without a GIS extension takes the chosen filter's.
    std::string file = choice->file_name;
    if (!gis_format_of(file)) file = export_file_name(*choice, request);
    if (!gis_format_of(file) && choice->filter < request.filters.size())
        file += "." + filter_extension(request.filters[choice->filter]);
    std::string error;
    if (!files.export_gis(file, error)) {
        services_.error_box("cannot write " + file + ": " + error);
        return;
    }
    if (const std::string folder = directory_of(file); !folder.empty()) save_path = folder;
}

} // namespace wayloom
