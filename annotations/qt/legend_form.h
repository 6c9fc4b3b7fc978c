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

    // What the legend is: its list, choice, placement, font and entries.
    const legend_state& legend() const { return legend_; }

    // The dialogs and the export, replaceable by tests. An empty answer is a
    // cancelled dialog.
    std::function<std::optional<colour_value>(colour_value start)> choose_colour;
    std::function<std::optional<QFont>(const QFont& start)> choose_font;
    // The main window's bitmap export of a picture `width` × `height` under
    // a suggested file name.
    std::function<void(const QImage& picture, std::int32_t width, std::int32_t height,
                       const std::string& file_name)>
        export_bitmap;

    // The map's items changed: the list is made again, keeping what was
    // chosen, and the legend measured again (see legend_items_changed),
    // whether or not this window shows.
    void analyse();
    // Fills the preview, measuring first when there are no entries; with
    // `save` the legend then goes to the bitmap export as "new-legend.bmp".
    void legend_draw(bool save);
    // What the map's drawing does after the scale ruler: the preview while
    // this window shows, then the legend at (x, y) when it is on the map.
    void draw_on_map(QPainter& painter);

    // Section "legend" of the settings file; the step and font size boxes
    // show what was read.
    void load_settings(const setting_reader& read);
    void save_settings(const setting_writer& write) const;

signals:
    void repaint_map();
    // Plonk put the legend on the map: project the map again, then repaint.
    void resize_map();
    // Colours are about to change, and changed: the map has unsaved changes.
    void map_changing();
    void map_changed();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    map_document& doc_;
    const view_state& view_;
    QWidget* canvas_;
    legend_state legend_;
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

    // Each named as its member without the underscore.
    QButtonGroup* classification_group_ = nullptr;
    QRadioButton* classes_radio_ = nullptr;
    QRadioButton* shapes_radio_ = nullptr;
    QListWidget* legend_list_ = nullptr;
    QPushButton* plonk_button_ = nullptr;
    QToolButton* up_button_ = nullptr;
    QToolButton* left_button_ = nullptr;
    QToolButton* right_button_ = nullptr;
    QToolButton* down_button_ = nullptr;
    QLineEdit* step_edit_ = nullptr;
    QPushButton* save_legend_button_ = nullptr;
    QPushButton* font_button_ = nullptr;
    QLineEdit* font_size_edit_ = nullptr;
    QLineEdit* font_test_edit_ = nullptr;
    QCheckBox* change_colour_check_ = nullptr;
    QPushButton* change_colour_button_ = nullptr;
    QPushButton* update_button_ = nullptr;
    QScrollArea* legend_scroll_ = nullptr;
    QWidget* legend_paintbox_ = nullptr;
};

} // namespace wayloom
