#include "gis/shapefile_writer.h"

#include "gis/map_features.h"
#include "source/file_replacement.h"

#include <shapefil.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <span>

namespace wayloom {

namespace {

struct layer {
    std::string_view suffix;
    int shape_type;
    feature_geometry geometry;
};
constexpr layer layers[] = {{"_polygons", SHPT_POLYGON, feature_geometry::polygon},
                            {"_paths", SHPT_ARC, feature_geometry::line},
                            {"_points", SHPT_POINT, feature_geometry::point}};
constexpr std::string_view extensions[] = {".shp", ".shx", ".dbf", ".cpg", ".prj"};

// Longitude and latitude in degrees on WGS 84, as GIS programs expect it.
constexpr std::string_view wgs84_prj =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,298.257223563]],"
    "PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";

enum class column { name, kind, classes, colour, border, area_m2, altitude };
struct field {
    column what;
    const char* title;
    DBFFieldType type;
    int width;
    int decimals;
};
constexpr field text_fields[] = {{column::name, "name", FTString, shapefile_name_width, 0},
                                 {column::kind, "kind", FTString, 8, 0},
                                 {column::classes, "classes", FTString, shapefile_classes_width, 0},
                                 {column::colour, "colour", FTString, 7, 0},
                                 {column::border, "border", FTString, 7, 0}};
// Square metres to a tenth (the whole earth fits); metres to a millimetre.
constexpr field area_field{column::area_m2, "area_m2", FTDouble, 19, 1};
constexpr field altitude_field{column::altitude, "altitude", FTDouble, 12, 3};

std::vector<field> fields_of(const layer& l)
{
    std::vector<field> all(std::begin(text_fields), std::end(text_fields));
    if (l.geometry == feature_geometry::polygon) all.push_back(area_field);
    if (l.geometry == feature_geometry::point) all.push_back(altitude_field);
    return all;
}

// shapelib opens its files by name through these hooks; they send each
// name to the temporary file standing in for it and keep the first
// failure, so that a short write is never taken for success.
struct hook_state {
    const std::map<std::string, std::string>* files = nullptr;
    std::string failure;
};
thread_local hook_state hooks_now;

FILE* as_file(SAFile f) { return reinterpret_cast<FILE*>(f); }

void note_failure(const std::string& what)
{
    if (hooks_now.failure.empty()) hooks_now.failure = what;
}

SAFile open_hook(const char* name, const char* access)
{
    const auto found = hooks_now.files->find(name);
    if (found == hooks_now.files->end()) return nullptr;
    FILE* f = std::fopen(found->second.c_str(), access);
    if (!f) note_failure(std::strerror(errno));
    return reinterpret_cast<SAFile>(f);
}
SAOffset read_hook(void* p, SAOffset size, SAOffset count, SAFile f)
{
    return std::fread(p, size, count, as_file(f));
}
SAOffset write_hook(void* p, SAOffset size, SAOffset count, SAFile f)
{
    const SAOffset written = std::fwrite(p, size, count, as_file(f));
    if (written != count) note_failure(std::strerror(errno));
    return written;
}
SAOffset seek_hook(SAFile f, SAOffset offset, int whence)
{
    return static_cast<SAOffset>(std::fseek(as_file(f), static_cast<long>(offset), whence));
}
SAOffset tell_hook(SAFile f) { return static_cast<SAOffset>(std::ftell(as_file(f))); }
int flush_hook(SAFile f) { return std::fflush(as_file(f)); }
int close_hook(SAFile f)
{
    const int result = std::fclose(as_file(f));
    if (result != 0) note_failure(std::strerror(errno));
    return result;
}
int remove_hook(const char*) { return -1; }  // nothing outside the temporary files goes
void error_hook(const char* message) { note_failure(message); }
double atof_hook(const char* text)
{
    double value = 0;
    std::from_chars(text, text + std::strlen(text), value);
    return value;
}

SAHooks file_hooks()
{
    SAHooks h{};
    h.FOpen = open_hook;
    h.FRead = read_hook;
    h.FWrite = write_hook;
    h.FSeek = seek_hook;
    h.FTell = tell_hook;
    h.FFlush = flush_hook;
    h.FClose = close_hook;
    h.Remove = remove_hook;
    h.Error = error_hook;
    h.Atof = atof_hook;
    return h;
}

std::string base_of(const std::string& file_name)
{
    const auto slash = file_name.find_last_of('/');
    const auto dot = file_name.find_last_of('.');
    const bool has_extension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return has_extension ? file_name.substr(0, dot) : file_name;
}

// A number in the C locale, right-aligned in its column as dBASE keeps them.
std::string number_column(double value, const field& f)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, f.decimals);
    const std::string_view text(buffer, result.ptr);
    if (result.ec != std::errc() || text.size() > static_cast<std::size_t>(f.width)) return {};
    return std::string(static_cast<std::size_t>(f.width) - text.size(), ' ') + std::string(text);
}

bool write_record(DBFHandle dbf, int record, const std::vector<field>& fields, const map_feature& f)
{
    bool ok = true;
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
        const field& column_of = fields[static_cast<std::size_t>(i)];
        std::string text;
        std::optional<double> number;
        switch (column_of.what) {
        case column::name: text = f.name; break;
        case column::kind: text = kind_name(f.kind); break;
        case column::classes:
            for (const std::string& c : f.classes) text += (text.empty() ? "" : ",") + c;
            break;
        case column::colour: text = colour_text(f.colour); break;
        case column::border: text = colour_text(f.border); break;
        case column::area_m2: number = f.area_m2; break;
        case column::altitude: number = f.altitude; break;
        }
        if (column_of.type == FTString) {
            const std::string cut(cut_utf8(text, static_cast<std::size_t>(column_of.width)));
            ok = DBFWriteStringAttribute(dbf, record, i, cut.c_str()) && ok;
            continue;
        }
        std::string digits = number ? number_column(*number, column_of) : std::string();
        ok = (digits.empty() ? DBFWriteNULLAttribute(dbf, record, i)
                             : DBFWriteAttributeDirectly(dbf, record, i, digits.data())) &&
             ok;
    }
    return ok;
}

bool write_shape(SHPHandle shp, const layer& l, const map_feature& f)
{
    std::vector<double> x, y;
    for (const geo_point& p : f.positions) {
        x.push_back(p.lon);
        y.push_back(p.lat);
    }
    if (l.geometry == feature_geometry::polygon) {
        // A shapefile's outer ring runs clockwise, and is closed.
        x.push_back(x.front());
        y.push_back(y.front());
        std::reverse(x.begin(), x.end());
        std::reverse(y.begin(), y.end());
    }
    SHPObject* object = SHPCreateSimpleObject(l.shape_type, static_cast<int>(x.size()), x.data(), y.data(), nullptr);
    if (!object) return false;
    const int written = SHPWriteObject(shp, -1, object);
    SHPDestroyObject(object);
    return written >= 0;
}

bool write_layer(const map_document& doc, const std::string& base, const layer& l, SAHooks& hooks)
{
    SHPHandle shp = SHPCreateLL((base + ".shp").c_str(), l.shape_type, &hooks);
    DBFHandle dbf = DBFCreateLL((base + ".dbf").c_str(), "UTF-8", &hooks);
    bool ok = shp && dbf;
    const std::vector<field> fields = fields_of(l);
    for (const field& f : fields)
        ok = ok && DBFAddField(dbf, f.title, f.type, f.width, f.decimals) >= 0;
    int record = 0;
    for (const feature_kind kind : all_kinds) {
        if (!ok) break;
        for_each_feature(doc, kind, [&](const map_feature& f) {
            if (!ok || f.geometry != l.geometry) return;
            ok = write_shape(shp, l, f) && write_record(dbf, record++, fields, f);
        });
    }
    if (shp) SHPClose(shp);
    if (dbf) DBFClose(dbf);
    return ok;
}

bool write_text_file(const std::string& name, std::string_view text)
{
    FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && written;
}

// Writes every file under a temporary name first; the renames come only
// when all of them are written, the last named first.
bool replace_all(std::span<const std::string> names, std::vector<std::string>& temps,
                 const std::function<bool(std::string&)>& write, std::string* error)
{
    if (names.empty()) {
        std::string reason;
        if (write(reason)) return true;
        if (error) *error = reason;
        return false;
    }
    return replace_file(names.front(), [&](const std::string& temp, std::string& reason) {
        temps.push_back(temp);
        return replace_all(names.subspan(1), temps, write, &reason);
    }, error);
}

} // namespace

std::vector<std::string> shapefile_names(const std::string& file_name)
{
    const std::string base = base_of(file_name);
    std::vector<std::string> names;
    for (const std::string_view extension : extensions)
        for (const layer& l : layers) names.push_back(base + std::string(l.suffix) + std::string(extension));
    return names;
}

bool save_shapefiles(const map_document& doc, const std::string& file_name, std::string* error)
{
    const std::vector<std::string> names = shapefile_names(file_name);
    std::vector<std::string> temps;
    return replace_all(names, temps, [&](std::string& reason) {
        std::map<std::string, std::string> files;
        for (std::size_t i = 0; i < names.size(); ++i) files[names[i]] = temps[i];
        hooks_now = {&files, {}};
        SAHooks hooks = file_hooks();
        const std::string base = base_of(file_name);
        bool ok = true;
        for (const layer& l : layers) {
            const std::string layer_base = base + std::string(l.suffix);
            ok = ok && write_layer(doc, layer_base, l, hooks) &&
                 write_text_file(files[layer_base + ".prj"], wgs84_prj);
        }
        std::string failure = std::move(hooks_now.failure);
        hooks_now = {};
        if (ok && failure.empty()) return true;
        reason = failure.empty() ? "the Shapefile library could not write the features" : failure;
        return false;
    }, error);
}

} // namespace wayloom
