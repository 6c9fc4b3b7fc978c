// The attributes dialog: how classes, the item being built and the selected
// points look, and what new points take. A modeless dialog that lives as
// long as the program; opening and OK only show and hide it. Every rule is
// in editing/attribute_commands.h and editing/point_attributes.h; the
// widgets forward to them and mirror editor.attributes().
#pragma once

#include "editing/map_editor.h"
#include "editing/point_attributes.h"

#include <QDialog>

#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QSlider;
class QToolButton;
class QWidget;

namespace wayloom {

class Tattributes_form : public QDialog {
    Q_OBJECT
public:
    // The main window's colour dialog: starts at `start`, gives the chosen
    // colour, or nothing when the user cancels.
    using colour_chooser = std::function<std::optional<colour_value>(colour_value start)>;

    Tattributes_form(map_editor& editor, QWidget* parent = nullptr);

    // Replaces the standard colour dialog (the window may share its own).
    void set_colour_chooser(colour_chooser chooser) { choose_colour_ = std::move(chooser); }

    // The main window's "Attributes page" and "&Show attributes": shows the
    // dialog when there is something to act on; returns whether it did.
    bool open_for_editing();

    // Section "attributes" of the settings file.
    void load_settings(const setting_reader& read);
    void save_settings(const setting_writer& write) const;

    // Redraws the marker preview.
    void update_shape();

signals:
    // The map must be repainted (colours or points changed).
    void map_changed();

private:
    map_editor& editor_;
    colour_chooser choose_colour_;


    void show_values();
    void point_track_barChange(int position);
    void scale_editChange(const QString& text);
    void show_size();  // the size edit left: it shows the size in use
    void marker_buttonClick(point_type marker);
    void colour_buttonClick(bool area);
    void ok_buttonClick();

    // Each named as its member without the underscore.
    QLineEdit* name_edit_ = nullptr;
    QLineEdit* hint_edit_ = nullptr;
    QCheckBox* show_name_check_ = nullptr;
    QPushButton* area_colour_button_ = nullptr;
    QPushButton* border_colour_button_ = nullptr;
    QSlider* point_track_bar_ = nullptr;
    QLineEdit* scale_edit_ = nullptr;
    QWidget* point_image_ = nullptr;
    QToolButton* round_marker_button_ = nullptr;
    QToolButton* square_marker_button_ = nullptr;
    QPushButton* ok_button_ = nullptr;
    QButtonGroup* marker_group_ = nullptr;
};

} // namespace wayloom
