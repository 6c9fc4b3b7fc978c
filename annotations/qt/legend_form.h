// The legend window: the list of shapes or classes to include, the placement
// buttons, the font, the colour changer and a preview of the legend. Every
// rule is in annotations/legend.h; the widgets forward to it and the main
// window draws `legend` on the map and repaints when asked.
#pragma once

#include "annotations/legend.h"
#include "view/geometry/view_state.h"

#include <QFont>
#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QToolButton;

namespace wayloom {

struct map_document;

class Tlegend_form : public QWidget {
    Q_OBJECT
public:
    // `canvas` is the map's drawing surface: the legend is measured in its
    // resolution, as it is drawn there.
    Tlegend_form(map_document& doc, const view_state& view, QWidget* canvas,
                 QWidget* parent = nullptr);

    legend_state legend;

    // The dialogs and the export, replaceable by tests. An empty answer is a
    // cancelled dialog.
    std::function<std::optional<colour_value>(colour_value start)> choose_colour;
    std::function<std::optional<QFont>(const QFont& start)> choose_font;
    // The main window's bitmap export of a picture `width` × `height` under
    // a suggested file name.
    std::function<void(const QImage& picture, std::int32_t width, std::int32_t height,
                       const std::string& file_name)>
        export_bitmap;

    // Rebuilds the list from the map (after a read, an addition or a deletion).
    void analyse();
    // Fills the preview, measuring first when there are no entries; with
    // `save` the legend then goes to the bitmap export as "new-legend.bmp".
    void legend_draw(bool save);
    // What the map's drawing does after the scale ruler: the preview while
    // this window shows, then the legend at (x, y) when it is on the map.
    void draw_on_map(QPainter& painter);

    // Section "legend" of the settings file.
    void load_settings(const setting_reader& read);
    void save_settings(const setting_writer& write) const;

    QButtonGroup* classification_group;
    QRadioButton* classes_radio;
    QRadioButton* shapes_radio;
    QGroupBox* shape_list_group;
    QLabel* shape_list_label;
    QListWidget* legend_list;
    QGroupBox* placement_group;
    QPushButton* plonk_button;
    QToolButton* up_button;
    QToolButton* left_button;
    QToolButton* right_button;
    QToolButton* down_button;
    QLineEdit* step_edit;
    QPushButton* save_legend_button;
    QGroupBox* font_group;
    QPushButton* font_button;
    QLabel* font_size_label;
    QLineEdit* font_size_edit;
    QLineEdit* font_test_edit;
    QCheckBox* change_colour_check;
    QPushButton* change_colour_button;
    QPushButton* update_button;
    QGroupBox* legend_display_panel;
    QScrollArea* legend_scroll;
    QWidget* legend_paintbox;

signals:
    void repaint_map();
    // Plonk put the legend on the map: project the map again, then repaint.
    void resize_map();
    // Colours changed: the map has unsaved changes.
    void map_changed();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    map_document& doc_;
    const view_state& view_;
    QWidget* canvas_;
    std::optional<QFont> chosen_font_;  // for the sample box only
    bool filling_list_ = false;

    // Measures the chosen entries; the preview takes the legend's size.
    void update_legend();
    void size_preview();
    void fill_list();
    void take_selection();
    void classification_groupClick(int id);
    void plonk_buttonClick();
    void nudge(nudge_direction direction);
    void step_editChange(const QString& text);
    void font_buttonClick();
    void update_buttonClick();
    void change_colour_checkClick();
    void change_colour_buttonClick();
};

} // namespace wayloom
