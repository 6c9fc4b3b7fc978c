// The scale ruler's window: the amount, Plonk and Update, the orientation,
// the arrow buttons with their step, and the map's border. The ruler's rules
// are in annotations/scale_ruler.h; the window forwards its controls and
// asks the main window to repaint (map_changed) or to lay the map out again
// with a new border (`relayout`). The ruler is drawn by the main window's
// map drawing through draw, whether or not this window is shown.
// Section "scale".
#pragma once

#include "annotations/scale_ruler.h"
#include "model/settings_section.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QLineEdit;
class QPainter;
class QPushButton;
class QSlider;
class QToolButton;

namespace wayloom {

struct item_list;

class Tscale_form : public QDialog {
    Q_OBJECT
public:
    Tscale_form(view_state& view, measurement& units, const item_list& shape_list,
                std::function<void()> relayout, QWidget* parent = nullptr);

    void load_settings(const setting_reader& read);
    void save_settings(const setting_writer& write) const;

    // Draws the ruler after the map items; `label_background` behind its
    // label. On a map shown `zoom` times larger the bar is as much longer,
    // so that it still measures what its label says.
    void draw(QPainter& painter, const QColor& label_background, long double zoom = 1);

    // The ruler as placed and drawn.
    const scale_ruler& ruler() const { return ruler_; }

signals:
    void map_changed();  // the map must be repainted

protected:
    void showEvent(QShowEvent* event) override;

private:
    scale_ruler ruler_;
    view_state& view_;
    measurement& units_;
    const item_list& shape_list_;
    std::function<void()> relayout_;
    bool trackbar_busy_ = false;
    bool edit_busy_ = false;

    void rescale();  // both flags raised, the map repainted
    void nudged(std::int32_t x, std::int32_t y);
    void orientation_click(ruler_orientation orientation);
    void plonk_buttonClick();
    void border_trackbarChange(int position);
    void border_editChange(const QString& text);
    void border_changed(std::int32_t position);
    void show_ruler_state();

    // Each named as its member without the underscore.
    QLineEdit* amount_edit_ = nullptr;
    QPushButton* update_button_ = nullptr;
    QPushButton* plonk_button_ = nullptr;
    QToolButton* left_right_button_ = nullptr;
    QToolButton* up_down_button_ = nullptr;
    QToolButton* up_button_ = nullptr;
    QToolButton* left_button_ = nullptr;
    QToolButton* right_button_ = nullptr;
    QToolButton* down_button_ = nullptr;
    QLineEdit* step_edit_ = nullptr;
    QSlider* border_trackbar_ = nullptr;
    QLineEdit* border_edit_ = nullptr;
};

} // namespace wayloom
