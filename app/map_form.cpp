#include "app/map_form.h"

#include "app/item_list_view.h"
#include "app/map_surface.h"
#include "annotations/qt/scale_form.h"
#include "app/preferences_form.h"
#include "statistics/qt/statistics_form.h"
#include "app/window_position.h"
#include "annotations/qt/legend_form.h"
#include "editing/map_changes.h"
#include "editing/qt/attributes_form.h"
#include "gps/qt/gps_form.h"
#include "gps/system_port.h"
#include "view/geometry/ellipsoidal_area.h"
#include "view/geometry/projection.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace wayloom {

namespace {

constexpr const char* caption = "Wayloom " WAYLOOM_VERSION;

} // namespace

Tmap_form::Tmap_form(startup_options options, form_services services, QWidget* parent)
    : QMainWindow(parent), options_(std::move(options)),
      services_(with_desktop_defaults(std::move(services), this))
{
    setWindowTitle(QString::fromUtf8(caption));
    build_panels();
    build_commands();
    build_status_line();
    resize(880, 504);

    state.set_map_border(0);
    // The system window colour is the colour of a text field (Base), white in
    // the usual themes; the panel's own grey (Window) would hide the map's edge.
    const QColor window = palette().color(QPalette::Base);
    state.background = make_colour(static_cast<std::uint32_t>(window.red()),
                                   static_cast<std::uint32_t>(window.green()),
                                   static_cast<std::uint32_t>(window.blue()));
    load_path = save_path = options_.program_directory;
    {
        const ini_file settings(settings_file());
        load_settings(settings);
        create_windows(settings);
    }
    build_view_choices();
    connect_editing();
    connect_surface();
    resize_form();

    if (options_.gps_port) {
        gps()->set_port(*options_.gps_port);
        gps()->show();
    }
    if (options_.map_argument)
        if (const auto file = map_argument_file(*options_.map_argument, load_path))
            read_map_file(*file);
}

Tmap_form::~Tmap_form() = default;

// The program's windows after the main one, in the program's order; each
// reads its section as it is created.
void Tmap_form::create_windows(const ini_file& settings)
{
    windows_.add(secondary::preferences,
                 new Tpreferences_form(units, state, state.background, services_.choose_colour, this),
                 settings);
    auto* gps_form = new Tgps_form(doc, gps::system_port(),
                                   join_path(options_.program_directory, "rave-viz.log"), this);
    gps_form->show_error = [this](const std::string& message) { services_.error_box(message); };
    // Without a stored place the GPS window keeps its own default one.
    windows_.add(secondary::gps, gps_form, settings, placement_rule::stored_or_own);
    auto* attributes_form = new Tattributes_form(editor, this);
    attributes_form->set_colour_chooser(services_.choose_colour);
    windows_.add(secondary::attributes, attributes_form, settings);

    // The ruler is drawn after the map items, before the legend.
    auto* scale_form = new Tscale_form(state, units, doc.shape_list, [this] { draw_buttonClick(); }, this);
    windows_.add(secondary::scale, scale_form, settings);
    ui_.shape_window->annotations.scale_ruler = [this, scale_form](QPainter& painter) {
        scale_form->draw(painter, palette().color(QPalette::Base), ui_.shape_window->view().zoom());
    };

    Tstatistics_form::desktop report_desktop;
    report_desktop.choose_file = [this]() -> std::optional<std::string> {
        const save_request request{options_.program_directory, {"Text file|*.txt"}, "txt",
                                   "statistics.txt"};
        const std::optional<save_choice> choice = services_.save_file(request);
        if (!choice) return std::nullopt;
        return add_default_extension(choice->file_name, request.default_extension);
    };
    report_desktop.error_box = [this](const std::string& message) { services_.error_box(message); };
    report_desktop.ellipsoidal_area = ellipsoidal_area;
    windows_.add(secondary::statistics,
                 new Tstatistics_form(doc, units, options_.program_directory, std::move(report_desktop), this),
                 settings);

    auto* legend_form = new Tlegend_form(doc, state, ui_.shape_window, this);
    legend_form->choose_colour = services_.choose_colour;
    legend_form->export_bitmap = [this](const QImage& picture, std::int32_t, std::int32_t,
                                        const std::string& name) { export_picture(picture, name); };
    connect(legend_form, &Tlegend_form::repaint_map, ui_.shape_window, qOverload<>(&QWidget::update));
    connect(legend_form, &Tlegend_form::resize_map, this, &Tmap_form::draw_buttonClick);
    // A recolouring from the legend is a step: the colours before it are
    // taken as it starts.
    connect(legend_form, &Tlegend_form::map_changing, this,
            [this] { legend_colours_ = std::make_unique<looks_snapshot>(editor); });
    connect(legend_form, &Tlegend_form::map_changed, this, [this] {
        if (legend_colours_) {
            step_recorder step(editor, legend_colours_->recolour_text());
            legend_colours_->record_changes(step);
        }
        legend_colours_.reset();
        update_caption();
    });
    windows_.add(secondary::legend, legend_form, settings);
    // Drawn after the scale ruler.
    ui_.shape_window->annotations.legend = [legend_form](QPainter& painter) {
        legend_form->draw_on_map(painter);
    };
}

Tlegend_form* Tmap_form::legend() const
{
    return static_cast<Tlegend_form*>(windows_.window(secondary::legend));
}

void Tmap_form::analyse_legend() { legend()->analyse(); }

Tattributes_form* Tmap_form::attributes() const
{
    return static_cast<Tattributes_form*>(windows_.window(secondary::attributes));
}

Tpreferences_form* Tmap_form::preferences() const
{
    return static_cast<Tpreferences_form*>(windows_.window(secondary::preferences));
}

Tstatistics_form* Tmap_form::statistics() const
{
    return static_cast<Tstatistics_form*>(windows_.window(secondary::statistics));
}

Tscale_form* Tmap_form::scale() const
{
    return static_cast<Tscale_form*>(windows_.window(secondary::scale));
}

Tgps_form* Tmap_form::gps() const
{
    return static_cast<Tgps_form*>(windows_.window(secondary::gps));
}

std::string Tmap_form::settings_file() const
{
    return join_path(options_.program_directory, "wayloom.ini");
}

void Tmap_form::load_settings(const ini_file& settings)
{
    loading_settings_ = true;
    const std::string& home = options_.program_directory;
    load_path = check_dir_exists(settings.read_string("main", "load_path", home), home);
    save_path = check_dir_exists(settings.read_string("main", "save_path", home), home);
    // A size that no window can have keeps the current one.
    auto size = [&](const char* key, int current) {
        const std::int64_t v = settings.read_integer("main", key, current);
        return v > 0 && v <= 100000 ? static_cast<int>(v) : current;
    };
    const int h = size("height", height());
    const int w = size("width", width());
    resize(w, h);
    load_placement(*this, settings, "main");
    choices_.keep_view = settings.read_bool("main", "keep_view", false);
    choices_.map_behind = settings.read_bool("main", "map_behind", false);
    choices_.waypoints = settings.read_bool("main", "waypoints", false);
    loading_settings_ = false;
}

void Tmap_form::save_settings()
{
    ini_file settings(settings_file());
    settings.write_string("main", "load_path", load_path);
    settings.write_string("main", "save_path", save_path);
    settings.write_integer("main", "height", height());
    settings.write_integer("main", "width", width());
    save_placement(*this, settings, "main");
    settings.write_bool("main", "keep_view", choices_.keep_view);
    settings.write_bool("main", "map_behind", choices_.map_behind);
    settings.write_bool("main", "waypoints", choices_.waypoints);
    windows_.save(settings);
    std::string error;
    if (!settings.save(&error)) services_.error_box(error);
}

void Tmap_form::closeEvent(QCloseEvent* event)
{
    // A transfer is cancelled first; the window closes once it has ended,
    // asking about unsaved work then, downloaded waypoints included.
    if (gps()->working()) {
        close_after_transfer_ = true;
        gps()->cancel_transfer();
        show_status_note("Cancelling the transfer with the handset before closing");
        event->ignore();
        return;
    }
    if (!may_drop_map_now()) {
        event->ignore();
        return;
    }
    save_settings();
    gps()->link.demolish();
    files.clear();
    apply({});
    windows_.hide_all();
    event->accept();
}

bool Tmap_form::refused_during_transfer()
{
    if (!gps()->working()) return false;
    show_status_note("The handset is busy: wait for the transfer to end, or press Cancel in the GPS window");
    return true;
}

bool Tmap_form::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui_.draw_panel && event->type() == QEvent::Resize) resize_form();
    return QMainWindow::eventFilter(watched, event);
}

void Tmap_form::resize_form()
{
    if (loading_settings_ || resizing_) return;
    resizing_ = true;
    state.avail_width = ui_.draw_panel->width();
    state.avail_height = ui_.draw_panel->height();
    // Where the surface stays when there is nothing to project.
    state.surface = {4, 4, state.avail_width - 2, state.avail_height - 2};
    resize_window(state, doc.shape_list);
    place_surface();
    resizing_ = false;
}

void Tmap_form::place_surface(view_rule rule)
{
    ui_.shape_window->follow_projection(rule);
    const surface_bounds& at = state.surface;
    ui_.shape_window->setGeometry(at.left, at.top, std::max(0, at.width), std::max(0, at.height));
    ui_.shape_window->update();
}

void Tmap_form::reload_lists()
{
    ui_.shape_list->reload();
    for (const build_sheet* sheet : {&ui_.waypoints_sheet, &ui_.points_sheet})
        for (item_list_view* view : {sheet->class_list, sheet->built, sheet->waypoints}) view->reload();
    ui_.error_list->reload();
}

void Tmap_form::apply(const edit_result& result)
{
    if (!result.error.empty()) services_.error_box(result.error);
    reload_lists();
    for (const auto& [strip, builder] : {std::pair{ui_.right_toolbar, &editor.shape_builder()},
                                         std::pair{ui_.points_toolbar, &editor.set_builder()}}) {
        strip->setVisible(builder->toolbar_shown());
        strip->setEnabled(builder->toolbar_shown());
    }
    if (const t_shape* shape = editor.build_shape())
        (shape->is_path() ? ui_.path_button : ui_.polygon_button)->setChecked(true);
    if (result.legend) analyse_legend();
    if (result.repaint) place_surface();
    update_caption();
}

void Tmap_form::update_caption()
{
    setWindowTitle(QString::fromStdString(window_caption(caption, editor.modified())));
    update_undo_items();
}

} // namespace wayloom
