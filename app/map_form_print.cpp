// The main window's New map and Print map: an empty map once unsaved work is
// seen to, and the page (print/) on a printer or as a PDF file, the map at
// the scale the print dialog's field gives.
#include "app/map_form.h"
#include "app/map_surface.h"
#include "annotations/qt/legend_form.h"
#include "annotations/qt/scale_form.h"
#include "print/qt/page_painter.h"
#include "print/qt/vector_export.h"
#include "view/geometry/projection.h"
#include "view/map_painter.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cctype>

namespace wayloom {

namespace {

// The paper the printer was set to, under its name in lower case ("a4").
struct printer_paper {
    std::string name;
    long double width = 0, height = 0;  // portrait, millimetres
    bool landscape = false;

    paper_size size() const { return {name, width, height}; }  // lives as long as this
};

printer_paper paper_of(const QPrinter& printer)
{
    const QPageLayout layout = printer.pageLayout();
    printer_paper out;
    out.name = layout.pageSize().key().toStdString();
    std::transform(out.name.begin(), out.name.end(), out.name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const QSizeF size = layout.pageSize().size(QPageSize::Millimeter);
    out.width = size.width();
    out.height = size.height();
    out.landscape = layout.orientation() == QPageLayout::Landscape;
    return out;
}

} // namespace

void Tmap_form::new_map_itemClick()
{
    if (refuses_file_command() || !may_drop_map_now()) return;
    files.new_map();
    clear_rename_box();
    reload_lists();
    analyse_legend();
    place_surface(view_rule::fit);
    update_caption();
}

void Tmap_form::print_itemClick()
{
    if (refuses_file_command()) return;
    // A page of background alone is no map: say what to do instead.
    if (!draws_items(state, doc.shape_list)) {
        services_.error_box(empty_surface_hint);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(files.map_title()));
    // A PDF goes beside the map (or where maps are saved), named after it.
    const std::string beside = files.map_folder().empty() ? save_path : files.map_folder();
    const QPrinter::OutputFormat format = printer.outputFormat();
    printer.setOutputFileName(QString::fromStdString(join_path(beside, files.map_title() + ".pdf")));
    printer.setOutputFormat(format);  // a printer, when there is one, stays the first choice
    const std::optional<std::string> typed = services_.print_dialog(printer, print_scale_);
    if (!typed) return;
    const scale_choice choice = parse_scale(*typed);
    if (!choice.error.empty()) {
        services_.error_box(choice.error);
        return;
    }
    print_scale_ = scale_text(choice.scale);

    const printer_paper paper = paper_of(printer);
    page_order order;
    order.title = files.map_title();
    order.paper = paper.size();
    order.landscape = paper.landscape;
    order.scale = choice.scale;
    order.unit = units.choice;
    if (scale()->ruler().visible) order.ruler = scale()->ruler();
    if (legend()->legend().on_map && legend()->legend().count() > 0) order.legend = legend()->legend();
    prepared_page prepared = prepare_page(doc, state, order);

    std::string error = prepared.error;
    if (prepared.page) {
        const QString file = printer.outputFileName();
        if (printer.outputFormat() == QPrinter::PdfFormat && !file.isEmpty()) {
            // Our own PDF writer: the file is replaced whole or not at all.
            save_page(file.toStdString(), *prepared.page, doc, &error);
        } else {
            // A page pixel is a screen pixel on paper too; from the paper's corner.
            printer.setResolution(page_dots_per_inch);
            printer.setFullPage(true);
            QPainter painter;
            if (painter.begin(&printer)) paint_page(painter, *prepared.page, doc);
            else error = "The printer could not be started.";
        }
    }
    // The page projected the items for the paper: back to the screen.
    resize_window(state, doc.shape_list);
    place_surface();
    if (!error.empty()) services_.error_box(error);
}

} // namespace wayloom
