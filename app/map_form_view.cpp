// The main window's view of the map: zoom, the View menu's choices, the
// status line, and what a press or a hover on the map does.
#include "app/item_list_view.h"
#include "app/map_form.h"
#include "app/map_form_commands.h"
#include "app/map_surface.h"
#include "app/status_texts.h"
#include "editing/item_commands.h"
#include "editing/node_moves.h"
#include "editing/set_building.h"
#include "editing/shape_building.h"
#include "model/map_units.h"
#include "model/waypoint.h"
#include "view/geometry/projection.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolTip>

#include <cstring>

namespace wayloom {

namespace {

constexpr int note_shown_ms = 2000;

struct view_choice_row {
    const char* caption;
    bool view_choices::*flag;
};

const view_choice_row view_choice_rows[] = {
    {keep_view_caption, &view_choices::keep_view},
    {map_behind_caption, &view_choices::map_behind},
    {waypoints_caption, &view_choices::waypoints},
};

real_point point_of(QPoint at) { return {static_cast<long double>(at.x()), static_cast<long double>(at.y())}; }

QString text_of(const std::string& text) { return QString::fromStdString(text); }

// The entry of `list` that stands for waypoint `number`.
std::optional<std::int32_t> entry_of(const item_list& list, std::int32_t number)
{
    for (std::size_t i = 0; i < list.entries.size(); ++i)
        if (const t_waypoint* w = list.object_at<t_waypoint>(i); w && w->number == number)
            return static_cast<std::int32_t>(i);
    return std::nullopt;
}

} // namespace

void Tmap_form::build_status_line()
{
    statusBar()->setSizeGripEnabled(false);
    // Left of them the status line shows the commands' hints.
    const auto label = [this](const char* name) {
        auto* shown = new QLabel(statusBar());
        shown->setObjectName(name);
        statusBar()->addPermanentWidget(shown);
        return shown;
    };
    ui_.status_note = label("status_note");
    ui_.status_item = label("status_item");
    ui_.status_position = label("status_position");
    ui_.status_zoom = label("status_zoom");
    ui_.status_zoom->setText(text_of(zoom_text(min_zoom)));
    ui_.status_note_timer = new QTimer(this);
    ui_.status_note_timer->setSingleShot(true);
    connect(ui_.status_note_timer, &QTimer::timeout, ui_.status_note, &QLabel::clear);

    // Delete acts on what the tab shown holds; a line edit keeps the key.
    auto* delete_key = new QAction(this);
    delete_key->setShortcut(QKeySequence::Delete);
    connect(delete_key, &QAction::triggered, this, &Tmap_form::delete_keyPress);
    addAction(delete_key);
}

void Tmap_form::build_view_choices()
{
    QMenu* view_menu = nullptr;
    for (QAction* entry : menuBar()->actions())
        if (entry->text() == "&View") view_menu = entry->menu();
    for (const view_choice_row& row : view_choice_rows)
        for (QAction* action : view_menu->actions()) {
            if (action->text() != QString::fromUtf8(row.caption)) continue;
            action->setCheckable(true);
            action->setChecked(choices_.*row.flag);
            connect(action, &QAction::toggled, this, [this, flag = row.flag](bool on) {
                choices_.*flag = on;
                apply_view_choices();
            });
        }
    apply_view_choices();
}

void Tmap_form::apply_view_choices()
{
    ui_.shape_window->show_waypoints(choices_.waypoints);
    if (state.map_behind_build == choices_.map_behind) return;
    // The item being built and the selection trade places as the frame.
    state.map_behind_build = choices_.map_behind;
    resize_window(state, doc.shape_list);
    place_surface();
}

void Tmap_form::connect_surface()
{
    map_surface* surface = ui_.shape_window;
    connect(surface, &map_surface::view_changed, this, [this, surface] {
        ui_.status_zoom->setText(text_of(zoom_text(surface->view().zoom())));
        // A key or a menu item moved the map under a pointer that stayed.
        if (surface->underMouse()) show_pointer(surface->mapFromGlobal(QCursor::pos()));
    });
    connect(surface, &map_surface::pointer_moved, this, &Tmap_form::show_pointer);
    connect(surface, &map_surface::pointer_left, this, [this] {
        ui_.status_position->clear();
        ui_.status_item->clear();
    });
    connect(surface, &map_surface::pressed, this, &Tmap_form::surface_pressed);
}

void Tmap_form::show_pointer(QPoint at)
{
    map_surface* surface = ui_.shape_window;
    const surface_layout& layout = surface->layout();
    // Without a drawn item the surface stands for no place on the map.
    if (layout.items.empty()) {
        ui_.status_position->clear();
        ui_.status_item->clear();
        return;
    }
    const map_frame::position p = surface->position_at(at);
    ui_.status_position->setText(text_of(position_text(to_degrees(p.lat), to_degrees(p.lon))));
    const std::optional<std::size_t> entry = item_under(layout, point_of(at));
    const t_mapper* item = entry ? mapper_of(doc.shape_list.entries[*entry]) : nullptr;
    ui_.status_item->setText(item ? text_of(item_text(doc, *item)) : QString());
    if (!surface->shows_waypoints()) return;
    const std::optional<std::int32_t> number = waypoint_under(layout, point_of(at));
    const t_waypoint* waypoint = number ? doc.waypoint(*number) : nullptr;
    if (waypoint) QToolTip::showText(surface->mapToGlobal(at), text_of(waypoint->name), surface);
    else QToolTip::hideText();
}

void Tmap_form::surface_pressed(QPoint at, Qt::MouseButton button)
{
    const surface_layout& layout = ui_.shape_window->layout();
    if (button == Qt::RightButton) {
        // As a right click on the item's entry: the rename box takes it.
        const std::optional<std::size_t> entry = item_under(layout, point_of(at));
        if (!entry) return;
        if (const auto text = shape_list_mouse_down(editor, static_cast<std::int32_t>(*entry)))
            ui_.shape_edit->setText(text_of(*text));
        return;
    }
    // As a click on the waypoint's entry in the tab's waypoint list.
    const int tab = ui_.map_control->currentIndex();
    if (tab != waypoints_tab && tab != points_tab) return;
    const std::optional<std::int32_t> number = waypoint_under(layout, point_of(at));
    if (!number) return;
    const item_list& list = tab == waypoints_tab ? doc.waypoints_list : editor.waypoints_set_list();
    const std::optional<std::int32_t> row = entry_of(list, *number);
    if (!row) return;
    apply(tab == waypoints_tab ? waypoints_list_mouse_down(editor, *row, false)
                               : waypoints_set_list_mouse_down(editor, *row, false));
}

void Tmap_form::show_status_note(const std::string& note)
{
    ui_.status_note->setText(text_of(note));
    ui_.status_note_timer->start(note_shown_ms);
}

void Tmap_form::zoom_in_itemClick() { ui_.shape_window->zoom_centre(zoom_step); }

void Tmap_form::zoom_out_itemClick() { ui_.shape_window->zoom_centre(1 / zoom_step); }

void Tmap_form::zoom_to_fit_itemClick() { ui_.shape_window->zoom_to_fit(); }

void Tmap_form::delete_keyPress()
{
    switch (ui_.map_control->currentIndex()) {
    case shapes_tab: run_edit<delete_shape_button_click>(); break;
    case waypoints_tab: run_edit<delete_button_click>(); break;
    case points_tab: run_edit<delete_point_button_click>(); break;
    default: break;
    }
}

} // namespace wayloom
