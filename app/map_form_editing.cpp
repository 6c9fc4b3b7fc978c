// The main window's editing events: tabs, list clicks, the rename and class
// boxes, and the attributes and GPS windows. Each forwards to a command of
// editing/ and shows what it did through apply.
#include "app/item_list_view.h"
#include "app/map_form.h"
#include "annotations/qt/scale_form.h"
#include "app/preferences_form.h"
#include "app/status_texts.h"
#include "editing/item_commands.h"
#include "editing/mode_switching.h"
#include "editing/node_moves.h"
#include "editing/qt/attributes_form.h"
#include "editing/set_building.h"
#include "editing/shape_building.h"
#include "editing/undo_commands.h"
#include "gps/qt/gps_form.h"
#include "view/geometry/map_refresh.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>

namespace wayloom {

void Tmap_form::connect_editing()
{
    const map_form_controls& ui = ui_;
    // A class recoloured there recolours its shapes and its legend entry.
    connect(attributes(), &Tattributes_form::map_changed, this, [this] {
        edit_result repaint;
        repaint.repaint = repaint.legend = true;
        apply(repaint);
    });
    connect(preferences(), &Tpreferences_form::map_changed, this, [this] { place_surface(); });
    connect(scale(), &Tscale_form::map_changed, this, [this] { place_surface(); });
    // What a download appends is one step, and reaches the Points tab's list
    // too; downloaded tracks and routes are estimated and placed as read ones are.
    connect(gps(), &Tgps_form::map_changing, this, [this] { download_start_ = doc.mark(); });
    connect(gps(), &Tgps_form::map_changed, this, [this] {
        if (download_start_)
            record_appended(editor, *download_start_, "Download " + appended_text(*download_start_, doc.mark()));
        download_start_.reset();
        after_map_read(state, doc);
        editor.sync_with_map();
        edit_result repaint;
        repaint.repaint = true;
        apply(repaint);
        show_status_note(downloaded_note(doc.waypoint_count() - waypoints_before_transfer_,
                                         static_cast<double>(transfer_clock_.elapsed()) / 1000));
    });
    // The lists edit the map: they wait while the handset is busy, and a
    // close asked for meanwhile goes on once the transfer has ended.
    connect(gps(), &Tgps_form::working_changed, this, [this](bool working) {
        ui_.map_control->setEnabled(!working);
        if (working) {
            transfer_clock_.start();
            waypoints_before_transfer_ = doc.waypoint_count();
        }
        if (!working && close_after_transfer_) {
            close_after_transfer_ = false;
            QTimer::singleShot(0, this, &QWidget::close);
        }
    });

    connect(ui.map_control, &QTabWidget::currentChanged, this,
            [this](int tab) { apply(map_control_change(editor, tab)); });

    // A click on a waypoint of either build sheet adds it to the sheet's item;
    // Return in its class box makes a class.
    using add_waypoint = edit_result (*)(map_editor&, std::int32_t, bool);
    for (const auto& [sheet, add] : {std::pair{&ui.waypoints_sheet, add_waypoint(waypoints_list_mouse_down)},
                                     std::pair{&ui.points_sheet, add_waypoint(waypoints_set_list_mouse_down)}}) {
        connect(sheet->waypoints, &item_list_view::mouse_down, this,
                [this, add](int row, QPoint, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
                    if (button != Qt::LeftButton) return;
                    apply(add(editor, row, modifiers.testFlag(Qt::ShiftModifier)));
                });
        connect(sheet->class_edit, &QLineEdit::returnPressed, this, &Tmap_form::add_class_buttonClick);
    }

    // A node or point dragged in its list moves as the pointer goes, one step.
    for (const auto& [sheet, kind] : {std::pair{&ui.waypoints_sheet, build_mode::shape},
                                      std::pair{&ui.points_sheet, build_mode::set}}) {
        sheet->built->allow_drag();
        connect(sheet->built, &item_list_view::drag_started, this, [this, kind](int row) {
            pick_node(editor, kind, static_cast<std::size_t>(row));
        });
        connect(sheet->built, &item_list_view::drag_moved, this,
                [this](int row) { apply(drag_node_to(editor, static_cast<std::size_t>(row))); });
        connect(sheet->built, &item_list_view::drag_ended, this, [this] { drop_node(editor); });
    }

    // A rename: a right click picks the entry's item, then every edit of
    // shape_edit renames that item.
    connect(ui.shape_list, &item_list_view::mouse_down, this,
            [this](int row, QPoint, Qt::MouseButton button, Qt::KeyboardModifiers) {
                if (button != Qt::RightButton) return;
                if (const auto text = shape_list_mouse_down(editor, row))
                    ui_.shape_edit->setText(QString::fromStdString(*text));
            });
    connect(ui.shape_edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        apply(shape_edit_change(editor, text.toStdString()));
    });
}

void Tmap_form::add_class_buttonClick()
{
    QLineEdit* box = (editor.mode() == points_tab ? ui_.points_sheet : ui_.waypoints_sheet).class_edit;
    std::string text = box->text().toStdString();
    const edit_result result = create_class(editor, text);
    box->setText(QString::fromStdString(text));
    apply(result);
}

void Tmap_form::colour_buttonClick() { attributes()->open_for_editing(); }

void Tmap_form::undo_itemClick() { apply(undo_edit(editor)); }

void Tmap_form::redo_itemClick() { apply(redo_edit(editor)); }

void Tmap_form::preferences_itemClick()
{
    preferences()->show();
    preferences()->raise();
}

void Tmap_form::statistics_buttonClick() { windows_.toggle(secondary::statistics); }

void Tmap_form::scale_buttonClick() { windows_.toggle(secondary::scale); }

void Tmap_form::gps_buttonClick() { windows_.toggle(secondary::gps); }

void Tmap_form::legend_buttonClick() { windows_.toggle(secondary::legend); }

void Tmap_form::init_gps_itemClick() { gps()->init_gps(); }

void Tmap_form::download_itemClick() { gps()->download_gps(); }

} // namespace wayloom
