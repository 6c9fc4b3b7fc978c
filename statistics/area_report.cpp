#include "statistics/area_report.h"

#include "model/map_document.h"
#include "source/number_text.h"

#include <algorithm>

namespace wayloom {

std::string format_number(long double value)
{
    std::string digits = format_general(value);
    std::string exponent;
    if (const auto e = digits.find_first_of("eE"); e != std::string::npos) {
        exponent = digits.substr(e);
        digits.erase(e);
    }
    if (const auto dot = digits.find('.'); dot != std::string::npos && digits.size() > dot + 3)
        digits.erase(dot + 3);
    return digits + exponent;
}

std::string report_text(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

namespace {

class report_writer {
public:
    report_writer(const report_choice& choice, long double perimeter_area)
        : choice_(choice), unit_(unit_of(choice.unit)), perimeter_(perimeter_area)
    {
    }

    std::vector<std::string> lines;

    // "... square <unit>", then the ellipsoid's line when asked for.
    void area_line(std::string text, long double reported, double ellipsoid_square_metres)
    {
        lines.push_back(text + format_number(reported) + " square " + std::string(unit_.name));
        if (!choice_.ellipsoidal_area) return;
        // The unit's count per metre, from the two lengths of a degree.
        const long double per_metre = unit_.per_degree / unit_of(unit_choice{}).per_degree;
        lines.push_back("On the ellipsoid : " +
                        format_number(ellipsoid_square_metres * per_metre * per_metre) +
                        " square " + std::string(unit_.name));
    }

    void entry(std::string_view label, std::string_view name, long double reported, double ellipsoid)
    {
        area_line(std::string(label) + " : " + std::string(name) + " is : ", reported, ellipsoid);
        // An open path has no area: no share of it can be given.
        lines.push_back(perimeter_ == 0 ? "And is undefined of the perimeter"
                                        : "And is " + format_number(reported / perimeter_ * 100) +
                                              "% of the perimeter");
        lines.emplace_back();
    }

private:
    const report_choice& choice_;
    unit_info unit_;
    long double perimeter_;
};

} // namespace

std::vector<std::string> report_lines(const map_document& doc, const report_choice& choice)
{
    if (!choice.perimeter) return {};
    const auto reported = [&](long double map_area) { return map_area_to_units(choice.unit, map_area); };
    const auto ellipsoid = [&](const t_shape& shape) {
        return choice.ellipsoidal_area ? choice.ellipsoidal_area(shape) : 0.0;
    };
    const long double perimeter = reported(choice.perimeter->area);
    report_writer out(choice, perimeter);
    out.area_line("Area of perimeter is : ", perimeter, ellipsoid(*choice.perimeter));
    out.lines.emplace_back();

    long double total = 0;
    double total_ellipsoid = 0;
    if (choice.mode == report_mode::shapes) {
        for (const t_shape* shape : choice.shapes) {
            const double on_ellipsoid = ellipsoid(*shape);  // measured once, used twice
            total += shape->area;
            total_ellipsoid += on_ellipsoid;
            out.entry("Shape", shape->name, reported(shape->area), on_ellipsoid);
        }
    } else {
        std::vector<bool> counted(doc.shapes.size(), false);
        for (const t_class* cls : choice.classes) {
            long double class_area = 0;
            double class_ellipsoid = 0;
            for (std::size_t i = 0; i < doc.shapes.size(); ++i) {
                const t_shape& shape = *doc.shapes[i];
                for (const std::int32_t number : shape.classes) {
                    if (number != cls->number) continue;
                    const double on_ellipsoid = ellipsoid(shape);
                    class_area += shape.area;
                    class_ellipsoid += on_ellipsoid;
                    if (!counted[i]) {
                        counted[i] = true;
                        total += shape.area;
                        total_ellipsoid += on_ellipsoid;
                    }
                }
            }
            out.entry("Class", cls->name, reported(class_area), class_ellipsoid);
        }
    }
    out.entry("Total coverage of",
              choice.mode == report_mode::shapes ? "Selected shapes" : "Selected classes",
              reported(total), total_ellipsoid);
    return out.lines;
}

} // namespace wayloom
