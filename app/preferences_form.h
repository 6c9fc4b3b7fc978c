// The preferences window: the unit lengths and areas are shown in, and the
// map's background colour. The unit and the ruler's flags are the main
// window's `measurement`, the colour its view state's background; this
// window edits both and asks for a repaint. Section "preferences".
#pragma once

#include "app/secondary_windows.h"
#include "model/colour.h"
#include "view/geometry/units.h"

#include <QDialog>

#include <functional>
#include <optional>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace wayloom {

struct view_state;

// The value "background" holds for the system window colour, the default.
inline constexpr std::int64_t system_window_colour = -16777211;

class Tpreferences_form : public QDialog {
    Q_OBJECT
public:
    // The main window's colour dialog: starts at `start`, gives the chosen
    // colour, or nothing when the user cancels.
    using colour_chooser = std::function<std::optional<colour_value>(colour_value start)>;

    // `system_background` is what the map shows while no colour was chosen.
    Tpreferences_form(measurement& units, view_state& view, colour_value system_background,
                      colour_chooser choose_colour, QWidget* parent = nullptr);

    // Keys "measurement", "metric", "imperial" (see read_unit_choice) and
    // "background": a colour 0..0xFFFFFF, anything else the system colour.
    void load_settings(const setting_reader& read);
    void save_settings(const setting_writer& write) const;

signals:
    // The map must be repainted: another unit or background.
    void map_changed();

private:
    measurement& units_;
    view_state& view_;
    colour_value system_background_;
    std::optional<colour_value> chosen_background_;  // none: the system colour
    colour_chooser choose_colour_;

    void group_click();  // any radio item: the unit from all three groups
    void colour_buttonClick();
    void show_choice();  // the radio items and the groups' enabling from units_
    void show_background();

    // Each named as its member without the underscore.
    QGroupBox* background_group_ = nullptr;
    QPushButton* colour_button_ = nullptr;
    QLineEdit* colour_edit_ = nullptr;  // a swatch; its text is not used
    QGroupBox* measurement_group_ = nullptr;
    QRadioButton* metric_item_ = nullptr;
    QRadioButton* imperial_item_ = nullptr;
    QGroupBox* metric_group_ = nullptr;
    QRadioButton* metre_item_ = nullptr;
    QRadioButton* kilometre_item_ = nullptr;
    QGroupBox* imperial_group_ = nullptr;
    QRadioButton* feet_item_ = nullptr;
    QRadioButton* yard_item_ = nullptr;
    QRadioButton* mile_item_ = nullptr;
};

} // namespace wayloom
