#include "annotations/qt/scale_form.h"

#include "annotations/qt/ruler_painter.h"
#include "source/number_text.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace wayloom {

namespace {

QToolButton* arrow(QWidget* parent, Qt::ArrowType type)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(type);
    return button;
}

QToolButton* picture_button(QWidget* parent, const char* text, const char* hint)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(hint);
    button->setCheckable(true);
    return button;
}

} // namespace

Tscale_form::Tscale_form(view_state& view, measurement& units, const item_list& shape_list,
                         std::function<void()> relayout, QWidget* parent)
    : QDialog(parent), view_(view), units_(units), shape_list_(shape_list),
      relayout_(std::move(relayout))
{
    setObjectName("scale_form");
    setWindowTitle("Scale indicator");
    setModal(false);
    auto* layout = new QVBoxLayout(this);

    auto* amount_group = new QGroupBox("Measurement", this);
    auto* amount_row = new QHBoxLayout(amount_group);
    amount_edit_ = new QLineEdit("0", amount_group);
    update_button_ = new QPushButton("Update", amount_group);
    amount_row->addWidget(amount_edit_);
    amount_row->addWidget(update_button_);
    layout->addWidget(amount_group);

    auto* placement_group = new QGroupBox("Placement", this);
    auto* grid = new QGridLayout(placement_group);
    plonk_button_ = new QPushButton("Plonk", placement_group);
    plonk_button_->setCheckable(true);
    left_right_button_ = picture_button(placement_group, "\u2194", "Horizontal");
    up_down_button_ = picture_button(placement_group, "\u2195", "Vertical");
    auto* orientations = new QButtonGroup(this);
    orientations->addButton(left_right_button_);
    orientations->addButton(up_down_button_);
    left_right_button_->setChecked(true);
    up_button_ = arrow(placement_group, Qt::UpArrow);
    left_button_ = arrow(placement_group, Qt::LeftArrow);
    right_button_ = arrow(placement_group, Qt::RightArrow);
    down_button_ = arrow(placement_group, Qt::DownArrow);
    step_edit_ = new QLineEdit("1", placement_group);
    step_edit_->setMaximumWidth(40);
    grid->addWidget(plonk_button_, 0, 0, 1, 2);
    grid->addWidget(left_right_button_, 1, 0);
    grid->addWidget(up_down_button_, 1, 1);
    grid->addWidget(up_button_, 0, 3);
    grid->addWidget(left_button_, 1, 2);
    grid->addWidget(step_edit_, 1, 3);
    grid->addWidget(right_button_, 1, 4);
    grid->addWidget(down_button_, 2, 3);
    layout->addWidget(placement_group);

    auto* border_group = new QGroupBox("Border", this);
    auto* border_row = new QHBoxLayout(border_group);
    border_trackbar_ = new QSlider(Qt::Horizontal, border_group);
    border_trackbar_->setRange(0, max_map_border);
    border_edit_ = new QLineEdit("0", border_group);
    border_edit_->setMaximumWidth(48);
    border_row->addWidget(border_trackbar_, 1);
    border_row->addWidget(border_edit_);
    layout->addWidget(border_group);

    const std::pair<QObject*, const char*> names[] = {
        {amount_edit_, "amount_edit"},     {update_button_, "update_button"},
        {plonk_button_, "plonk_button"},   {left_right_button_, "left_right_button"},
        {up_down_button_, "up_down_button"}, {up_button_, "up_button"},
        {left_button_, "left_button"},     {right_button_, "right_button"},
        {down_button_, "down_button"},     {step_edit_, "step_edit"},
        {border_trackbar_, "border_trackbar"}, {border_edit_, "border_edit"},
    };
    for (const auto& [object, name] : names) object->setObjectName(name);

    connect(amount_edit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { ruler_.amount = text.toStdString(); });
    connect(update_button_, &QPushButton::clicked, this, &Tscale_form::rescale);
    connect(plonk_button_, &QPushButton::clicked, this, &Tscale_form::plonk_buttonClick);
    connect(left_right_button_, &QToolButton::clicked, this,
            [this] { orientation_click(ruler_orientation::horizontal); });
    connect(up_down_button_, &QToolButton::clicked, this,
            [this] { orientation_click(ruler_orientation::vertical); });
    connect(step_edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        ruler_.step = parse_whole_32(text.toStdString()).value_or(1);
    });
    connect(up_button_, &QToolButton::clicked, this, [this] {
        scale_ruler moved = ruler_;
        nudge_ruler_up(moved);
        nudged(moved.x, moved.y);
    });
    connect(left_button_, &QToolButton::clicked, this, [this] {
        scale_ruler moved = ruler_;
        nudge_ruler_left(moved);
        nudged(moved.x, moved.y);
    });
    connect(down_button_, &QToolButton::clicked, this, [this] {
        scale_ruler moved = ruler_;
        nudge_ruler_down(moved, view_);
        nudged(moved.x, moved.y);
    });
    connect(right_button_, &QToolButton::clicked, this, [this] {
        scale_ruler moved = ruler_;
        nudge_ruler_right(moved, view_);
        nudged(moved.x, moved.y);
    });
    connect(border_trackbar_, &QSlider::valueChanged, this, &Tscale_form::border_trackbarChange);
    connect(border_edit_, &QLineEdit::textEdited, this, &Tscale_form::border_editChange);
}

void Tscale_form::rescale()
{
    units_.scale_changed = units_.units_changed = true;
    emit map_changed();
}

void Tscale_form::nudged(std::int32_t x, std::int32_t y)
{
    if (x == ruler_.x && y == ruler_.y) return;
    ruler_.x = x;
    ruler_.y = y;
    units_.scale_changed = true;
    emit map_changed();
}

void Tscale_form::orientation_click(ruler_orientation orientation)
{
    (orientation == ruler_orientation::horizontal ? left_right_button_ : up_down_button_)->setChecked(true);
    if (ruler_.orientation == orientation) return;
    ruler_.orientation = orientation;
    rescale();
}

void Tscale_form::plonk_buttonClick()
{
    ruler_.visible = !ruler_.visible;
    if (ruler_.visible && map_has_drawing(view_, shape_list_)) {
        plonk_button_->setChecked(true);
        units_.scale_changed = units_.units_changed = true;
    } else {
        plonk_button_->setChecked(false);
        ruler_.visible = false;
    }
    emit map_changed();
}

// Both boxes update each other; each does nothing while either is busy.
void Tscale_form::border_trackbarChange(int position)
{
    if (trackbar_busy_ || edit_busy_ || position == view_.map_border) return;
    trackbar_busy_ = true;
    border_edit_->setText(QString::number(border_percent(position)));
    border_changed(position);
    trackbar_busy_ = false;
}

void Tscale_form::border_editChange(const QString& text)
{
    if (trackbar_busy_ || edit_busy_) return;
    const std::int64_t value = parse_whole_number(text.toStdString()).value_or(0);
    if (static_cast<long double>(value) ==
        static_cast<long double>(border_trackbar_->value()) / max_map_border * 100)
        return;
    edit_busy_ = true;
    const std::int32_t position = border_position(value);
    border_trackbar_->setValue(position);
    border_changed(position);
    edit_busy_ = false;
}

void Tscale_form::border_changed(std::int32_t position)
{
    view_.set_map_border(position);
    if (relayout_) relayout_();
    units_.scale_changed = units_.units_changed = true;
    emit map_changed();
}

void Tscale_form::draw(QPainter& painter, const QColor& label_background, long double zoom)
{
    const bool was_visible = ruler_.visible;
    draw_ruler(painter, ruler_, view_, shape_list_, units_, label_background, zoom);
    if (was_visible && !ruler_.visible) {
        const QSignalBlocker quiet(plonk_button_);
        plonk_button_->setChecked(false);
    }
    // The amount cut to the extent shows in the box.
    if (amount_edit_->text().toStdString() != ruler_.amount) {
        const QSignalBlocker quiet(amount_edit_);
        amount_edit_->setText(QString::fromStdString(ruler_.amount));
    }
}

void Tscale_form::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    emit map_changed();
}

void Tscale_form::show_ruler_state()
{
    const QSignalBlocker quiet_amount(amount_edit_), quiet_step(step_edit_), quiet_bar(border_trackbar_);
    amount_edit_->setText(QString::fromStdString(ruler_.amount));
    step_edit_->setText(QString::number(ruler_.step));
    (ruler_.horizontal() ? left_right_button_ : up_down_button_)->setChecked(true);
    plonk_button_->setChecked(ruler_.visible);
    border_trackbar_->setValue(view_.map_border);
    border_edit_->setText(QString::number(border_percent(view_.map_border)));
}

void Tscale_form::load_settings(const setting_reader& read)
{
    const auto number = [&](std::string_view key, std::int64_t fallback) {
        const auto text = read(key);
        return text ? parse_whole_number(*text).value_or(fallback) : fallback;
    };
    const auto held = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    ruler_.orientation = read("orientation").value_or("horizontal") == "horizontal"
                            ? ruler_orientation::horizontal
                            : ruler_orientation::vertical;
    ruler_.visible = number("visible", 0) != 0;
    ruler_.x = held(number("x", 0));
    ruler_.y = held(number("y", 0));
    ruler_.w = held(number("w", -1));
    ruler_.h = held(number("h", -1));
    ruler_.step = held(number("step", 1));
    ruler_.amount = std::to_string(number("amount", 0));
    view_.set_map_border(number("border", 0));
    show_ruler_state();
}

void Tscale_form::save_settings(const setting_writer& write) const
{
    write("orientation", ruler_.horizontal() ? "horizontal" : "vertical");
    write("visible", ruler_.visible ? "1" : "0");
    write("x", std::to_string(ruler_.x));
    write("y", std::to_string(ruler_.y));
    write("w", std::to_string(ruler_.w));
    write("h", std::to_string(ruler_.h));
    write("step", std::to_string(ruler_.step));
    write("amount", std::to_string(parse_whole_number(ruler_.amount).value_or(0)));
    write("border", std::to_string(view_.map_border));
}

} // namespace wayloom
