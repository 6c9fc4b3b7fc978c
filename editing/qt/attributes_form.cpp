#include "editing/qt/attributes_form.h"

#include "editing/attribute_commands.h"
#include "view/map_painter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace wayloom {

namespace {

// The preview box: the current marker, drawn by the same draw_point as the map.
class marker_preview : public QWidget {
public:
    marker_preview(const point_attributes& values, QWidget* parent)
        : QWidget(parent), values_(values)
    {
        setFixedSize(57, 57);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Button));
        const marker_style style{static_cast<long double>(values_.point_size), values_.area_colour,
                                 values_.border_colour};
        draw_point(painter, width() / 2, height() / 2, values_.marker, nullptr, style);
    }

private:
    const point_attributes& values_;
};

QIcon marker_icon(point_type marker)
{
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    draw_point(painter, 9, 9, marker, nullptr, marker_style{6, grey, black});
    return QIcon(pixmap);
}

std::optional<colour_value> standard_colour_dialog(colour_value start, QWidget* parent)
{
    const QColor chosen = QColorDialog::getColor(to_qcolor(start), parent);
    if (!chosen.isValid()) return std::nullopt;
    return make_colour(static_cast<std::uint32_t>(chosen.red()),
                       static_cast<std::uint32_t>(chosen.green()),
                       static_cast<std::uint32_t>(chosen.blue()));
}

} // namespace

Tattributes_form::Tattributes_form(map_editor& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setObjectName("attributes_form");
    setWindowTitle("attributes_form");
    setModal(false);
    choose_colour_ = [this](colour_value start) { return standard_colour_dialog(start, this); };

    auto* identity = new QGroupBox("Identity", this);
    auto* identity_layout = new QGridLayout(identity);
    name_edit_ = new QLineEdit(identity);
    hint_edit_ = new QLineEdit(identity);
    show_name_check_ = new QCheckBox("Display Point Name", identity);
    identity_layout->addWidget(new QLabel("Name ", identity), 0, 0);
    identity_layout->addWidget(name_edit_, 0, 1);
    identity_layout->addWidget(new QLabel("Hint", identity), 1, 0);
    identity_layout->addWidget(hint_edit_, 1, 1);
    identity_layout->addWidget(show_name_check_, 2, 0, 1, 2);

    auto* colours = new QGroupBox("Colours", this);
    auto* colours_layout = new QHBoxLayout(colours);
    area_colour_button_ = new QPushButton("Area Colour", colours);
    border_colour_button_ = new QPushButton("Border Colour", colours);
    colours_layout->addWidget(area_colour_button_);
    colours_layout->addWidget(border_colour_button_);

    auto* marker = new QGroupBox("Marker", this);
    auto* marker_layout = new QGridLayout(marker);
    point_track_bar_ = new QSlider(Qt::Horizontal, marker);
    point_track_bar_->setRange(min_point_size, max_point_size);
    point_track_bar_->setValue(initial_point_size);
    scale_edit_ = new QLineEdit(QString::number(initial_point_size), marker);
    scale_edit_->setFixedWidth(40);
    point_image_ = new marker_preview(editor_.attributes(), marker);
    round_marker_button_ = new QToolButton(marker);
    square_marker_button_ = new QToolButton(marker);
    round_marker_button_->setIcon(marker_icon(p_circle));
    square_marker_button_->setIcon(marker_icon(p_square));
    for (QToolButton* button : {round_marker_button_, square_marker_button_}) button->setCheckable(true);
    round_marker_button_->setChecked(true);
    marker_group_ = new QButtonGroup(this);
    marker_group_->setExclusive(true);
    marker_group_->addButton(round_marker_button_);
    marker_group_->addButton(square_marker_button_);
    marker_layout->addWidget(point_track_bar_, 0, 0, 1, 3);
    marker_layout->addWidget(scale_edit_, 0, 3);
    marker_layout->addWidget(point_image_, 1, 0, 2, 1);
    marker_layout->addWidget(round_marker_button_, 1, 1);
    marker_layout->addWidget(square_marker_button_, 1, 2);

    ok_button_ = new QPushButton("OK", this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(identity);
    layout->addWidget(colours);
    layout->addWidget(marker);
    layout->addWidget(ok_button_, 0, Qt::AlignRight);
    setFixedSize(281, 297);

    const std::pair<QObject*, const char*> names[] = {
        {name_edit_, "name_edit"},
        {hint_edit_, "hint_edit"},
        {show_name_check_, "show_name_check"},
        {area_colour_button_, "area_colour_button"},
        {border_colour_button_, "border_colour_button"},
        {point_track_bar_, "point_track_bar"},
        {scale_edit_, "scale_edit"},
        {point_image_, "point_image"},
        {round_marker_button_, "round_marker_button"},
        {square_marker_button_, "square_marker_button"},
        {ok_button_, "ok_button"},
    };
    for (const auto& [object, name] : names) object->setObjectName(name);

    connect(name_edit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { editor_.attributes().name = text.toStdString(); });
    connect(hint_edit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { editor_.attributes().hint = text.toStdString(); });
    connect(show_name_check_, &QCheckBox::toggled, this, [this](bool on) {
        editor_.attributes().show_name = on;
        store_point_defaults(editor_);
    });
    connect(point_track_bar_, &QSlider::valueChanged, this, &Tattributes_form::point_track_barChange);
    connect(scale_edit_, &QLineEdit::textChanged, this, &Tattributes_form::scale_editChange);
    connect(scale_edit_, &QLineEdit::editingFinished, this, &Tattributes_form::show_size);
    connect(round_marker_button_, &QToolButton::clicked, this, [this] { marker_buttonClick(p_circle); });
    connect(square_marker_button_, &QToolButton::clicked, this, [this] { marker_buttonClick(p_square); });
    connect(area_colour_button_, &QPushButton::clicked, this, [this] { colour_buttonClick(true); });
    connect(border_colour_button_, &QPushButton::clicked, this, [this] { colour_buttonClick(false); });
    connect(ok_button_, &QPushButton::clicked, this, &Tattributes_form::ok_buttonClick);

    show_values();
}

bool Tattributes_form::open_for_editing()
{
    if (!colour_button_click(editor_)) return false;
    show_values();
    show();
    raise();
    update_shape();
    return true;
}

void Tattributes_form::load_settings(const setting_reader& read)
{
    load_attributes(editor_.attributes(), read);
    show_values();
}

void Tattributes_form::save_settings(const setting_writer& write) const
{
    save_attributes(editor_.attributes(), write);
}

void Tattributes_form::update_shape() { point_image_->update(); }

// Puts the current values into the widgets without running their rules again.
void Tattributes_form::show_values()
{
    const point_attributes& values = editor_.attributes();
    {
        const QSignalBlocker blocks[] = {QSignalBlocker(name_edit_), QSignalBlocker(hint_edit_),
                                         QSignalBlocker(show_name_check_),
                                         QSignalBlocker(point_track_bar_), QSignalBlocker(scale_edit_)};
        name_edit_->setText(QString::fromStdString(values.name));
        hint_edit_->setText(QString::fromStdString(values.hint));
        show_name_check_->setChecked(values.show_name);
        point_track_bar_->setValue(values.point_size);
        scale_edit_->setText(QString::number(values.point_size));
    }
    ((values.marker & p_circle) ? round_marker_button_ : square_marker_button_)->setChecked(true);
    store_point_defaults(editor_);
    update_shape();
}

void Tattributes_form::point_track_barChange(int position)
{
    point_track_bar_change(editor_.attributes(), position);
    const QSignalBlocker quiet(scale_edit_);
    scale_edit_->setText(QString::number(editor_.attributes().point_size));
    store_point_defaults(editor_);
    update_shape();
}

void Tattributes_form::scale_editChange(const QString& text)
{
    if (!scale_edit_change(editor_.attributes(), text.toStdString())) return;
    store_point_defaults(editor_);
    update_shape();
}

void Tattributes_form::show_size()
{
    const QSignalBlocker quiet(scale_edit_);
    scale_edit_->setText(QString::fromStdString(scale_edit_text(editor_.attributes())));
}

void Tattributes_form::marker_buttonClick(point_type marker)
{
    if (!marker_button_click(editor_.attributes(), editor_.build_set() != nullptr, marker)) return;
    store_point_defaults(editor_);
    update_shape();
}

void Tattributes_form::colour_buttonClick(bool area)
{
    if (!choose_colour_) return;
    const std::optional<colour_value> colour = choose_colour_(editor_.chosen_colour());
    if (!colour) return;
    const bool taken = area ? area_colour_chosen(editor_, *colour) : border_colour_chosen(editor_, *colour);
    if (!taken) return;
    emit map_changed();
    update_shape();
}

void Tattributes_form::ok_buttonClick()
{
    show_size();
    // Ends the dialog's step too, when no set is being built.
    ok_button_click(editor_);
    if (editor_.build_set()) {
        show_values();  // an empty name or hint box took the first point's
        emit map_changed();
    }
    hide();
}

} // namespace wayloom
