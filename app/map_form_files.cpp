// The main window's file and help commands: Open, Merge, Save, Export,
// Refresh from source, Redraw, Exit and the pages shipped with the program.
// The map file's rules are in editing/map_files.h; here are the dialogs,
// the boxes and the folders the dialogs remember.
#include "app/item_list_view.h"
#include "app/map_form.h"
#include "app/map_surface.h"
#include "app/status_texts.h"
#include "print/qt/vector_export.h"
#include "view/bitmap_export.h"
#include "view/geometry/projection.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QTabWidget>
#include <QUrl>

#include <filesystem>
#include <system_error>

namespace wayloom {

namespace {

constexpr const char* web_page = "https://wayloom.example.org/";

std::string file_address(const std::string& path)
{
    return QUrl::fromLocalFile(QString::fromStdString(path)).toString().toStdString();
}

} // namespace

bool Tmap_form::may_drop_map_now()
{
    return files.may_drop(services_.ask_save_changes, [this] { return save_map_file(); });
}

bool Tmap_form::refuses_file_command()
{
    const std::optional<std::string> refusal = file_command_refusal(editor);
    if (!refusal) return false;
    show_status_note(*refusal);
    return true;
}

std::string Tmap_form::open_folder() const
{
    return files.map_folder().empty() ? load_path : files.map_folder();
}

void Tmap_form::clear_rename_box() { ui_.shape_edit->clear(); }

bool Tmap_form::read_map_file(const std::string& file_name)
{
    if (refuses_file_command()) return false;
    const read_report report = files.open(file_name);
    clear_rename_box();
    show_read_report(report, view_rule::fit);
    return report.ok();
}

void Tmap_form::show_read_report(const read_report& report, view_rule rule)
{
    // The lists first: an error box runs its own event loop, and the views
    // must not show entries the read has taken back.
    reload_lists();
    analyse_legend();
    place_surface(rule);
    if (shows_error_tab(report)) ui_.map_control->setCurrentIndex(error_tab);
    for (const std::string& message : report.errors) services_.error_box(message);
}

void Tmap_form::project_load(bool clear_first)
{
    if (refuses_file_command()) return;
    if (clear_first && !may_drop_map_now()) return;
    const std::optional<std::string> chosen = services_.open_file(open_folder());
    if (!chosen) return;
    const read_report report = clear_first ? files.open(*chosen) : files.merge(*chosen);
    if (clear_first) clear_rename_box();
    show_read_report(report, clear_first ? view_rule::fit : view_rule::keep);
    update_caption();
    if (const std::string folder = directory_of(*chosen); !folder.empty()) load_path = folder;
}

void Tmap_form::load_project() { project_load(true); }

void Tmap_form::merge_project() { project_load(false); }

void Tmap_form::save_project() { save_map_file(); }

bool Tmap_form::save_map_file()
{
    if (refuses_file_command() || doc.empty()) return false;
    const save_request request{save_path, {std::string(map_filter)}, "wlm", files.proposed_name()};
    const std::optional<save_choice> choice = services_.save_file(request);
    if (!choice) return false;
    const std::string file = add_default_extension(choice->file_name, request.default_extension);
    std::string error;
    if (!files.save(file, error)) {
        services_.error_box("cannot write " + file + ": " + error);
        return false;
    }
    show_status_note("Saved " + std::filesystem::path(file).filename().string());
    if (const std::string folder = directory_of(file); !folder.empty()) save_path = folder;
    update_caption();
    ui_.shape_window->update();
    return true;
}

void Tmap_form::export_buttonClick()
{
    if (refuses_file_command()) return;
    // The picture on the screen, taken before the dialog covers the window.
    const QImage picture = ui_.shape_window->picture();
    const save_request request{save_path,
                               {std::string(bitmap_filter), std::string(png_filter),
                                std::string(pdf_filter), std::string(svg_filter)},
                               "bmp",
                               std::string(new_export_name)};
    const std::optional<save_choice> choice = services_.save_file(request);
    if (!choice) return;
    const std::string file = export_file_name(*choice, request);
    const std::optional<vector_format> vector = vector_format_of(file);
    // As vectors, the same drawing painted again: one surface pixel a page pixel.
    std::string error;
    const bool written =
        vector ? save_vector(file, *vector, page_millimetres(picture.width()), page_millimetres(picture.height()),
                             [this](QPainter& painter) { ui_.shape_window->paint_view(painter); }, &error)
               : save_bitmap(picture, picture.width(), picture.height(), file, &error);
    if (!written) {
        services_.error_box(error);
        return;
    }
    if (const std::string folder = directory_of(file); !folder.empty()) save_path = folder;
}

void Tmap_form::export_picture(const QImage& picture, const std::string& file_name)
{
    const save_request request{save_path,
                               {std::string(bitmap_filter), std::string(png_filter)},
                               "bmp",
                               file_name};
    const std::optional<save_choice> choice = services_.save_file(request);
    if (!choice) return;
    const std::string file = export_file_name(*choice, request);
    std::string error;
    if (!save_bitmap(picture, picture.width(), picture.height(), file, &error)) {
        services_.error_box(error);
        return;
    }
    if (const std::string folder = directory_of(file); !folder.empty()) save_path = folder;
}

void Tmap_form::update_buttonClick()
{
    if (!files.can_refresh() || refuses_file_command() || !may_drop_map_now()) return;
    const read_report report = files.refresh();
    clear_rename_box();
    show_read_report(report, view_rule::fit);
    apply({});
}

void Tmap_form::draw_buttonClick()
{
    resize_window(state, doc.shape_list);
    place_surface(choices_.keep_view ? view_rule::keep : view_rule::fit);
    if (ui_.shape_window->shows_hint()) show_status_note(nothing_to_draw_note);
}

void Tmap_form::exit_itemClick()
{
    if (may_drop_map_now()) services_.quit();
}

void Tmap_form::exit_buttonClick() { exit_itemClick(); }

std::string Tmap_form::shipped_file(const std::string& name) const
{
    const std::string here = join_path(options_.program_directory, name);
    std::error_code ec;
    if (std::filesystem::exists(here, ec)) return here;
    return join_path(options_.executable_directory, name);
}

void Tmap_form::view_document(const std::string& address)
{
    if (!services_.open_url(address)) services_.error_box("The default browser could not be found.");
}

void Tmap_form::about_itemClick() { show_about(about_, this); }

void Tmap_form::help_menu_itemClick() { view_document(file_address(shipped_file("manual.html"))); }

void Tmap_form::kestrow_menu_itemClick()
{
    view_document(file_address(shipped_file("kestrow/kestrow.htm")));
}

void Tmap_form::kestrow_website_itemClick() { view_document(web_page); }

} // namespace wayloom
