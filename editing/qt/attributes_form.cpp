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
    name_edit = new QLineEdit(identity);
    hint_edit = new QLineEdit(identity);
    show_name_check = new QCheckBox("Display Point Name", identity);
    identity_layout->addWidget(new QLabel("Name ", identity), 0, 0);
    identity_layout->addWidget(name_edit, 0, 1);
    identity_layout->addWidget(new QLabel("Hint", identity), 1, 0);
    identity_layout->addWidget(hint_edit, 1, 1);
    identity_layout->addWidget(show_name_check, 2, 0, 1, 2);

    auto* colours = new QGroupBox("Colours", this);
    auto* colours_layout = new QHBoxLayout(colours);
    area_colour_button = new QPushButton("Area Colour", colours);
    border_colour_button = new QPushButton("Border Colour", colours);
    colours_layout->addWidget(area_colour_button);
    colours_layout->addWidget(border_colour_button);

    auto* marker = new QGroupBox("Marker", this);
    auto* marker_layout = new QGridLayout(marker);
    point_track_bar = new QSlider(Qt::Horizontal, marker);
    point_track_bar->setRange(min_point_size, max_point_size);
    point_track_bar->setValue(initial_point_size);
    scale_edit = new QLineEdit(QString::number(initial_point_size), marker);
    scale_edit->setFixedWidth(40);
    point_image = new marker_preview(editor_.attributes, marker);
    round_marker_button = new QToolButton(marker);
    square_marker_button = new QToolButton(marker);
    round_marker_button->setIcon(marker_icon(p_circle));
    square_marker_button->setIcon(marker_icon(p_square));
    for (QToolButton* button : {round_marker_button, square_marker_button}) button->setCheckable(true);
    round_marker_button->setChecked(true);
    marker_group_ = new QButtonGroup(this);
    marker_group_->setExclusive(true);
    marker_group_->addButton(round_marker_button);
    marker_group_->addButton(square_marker_button);
    marker_layout->addWidget(point_track_bar, 0, 0, 1, 3);
    marker_layout->addWidget(scale_edit, 0, 3);
    marker_layout->addWidget(point_image, 1, 0, 2, 1);
    marker_layout->addWidget(round_marker_button, 1, 1);
    marker_layout->addWidget(square_marker_button, 1, 2);

    ok_button = new QPushButton("OK", this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(identity);
    layout->addWidget(colours);
    layout->addWidget(marker);
    layout->addWidget(ok_button, 0, Qt::AlignRight);
    setFixedSize(281, 297);

    const std::pair<QObject*, const char*> names[] = {
        {name_edit, "name_edit"},
        {hint_edit, "hint_edit"},
        {show_name_check, "show_name_check"},
        {area_colour_button, "area_colour_button"},
        {border_colour_button, "border_colour_button"},
        {point_track_bar, "point_track_bar"},
        {scale_edit, "scale_edit"},
        {point_image, "point_image"},
        {round_marker_button, "round_marker_button"},
        {square_marker_button, "square_marker_button"},
        {ok_button, "ok_button"},
    };
    for (const auto& [object, name] : names) object->setObjectName(name);

    connect(name_edit, &QLineEdit::textChanged, this,
            [this](const QString& text) { editor_.attributes.name = text.toStdString(); });
    connect(hint_edit, &QLineEdit::textChanged, this,
            [this](const QString& text) { editor_.attributes.hint = text.toStdString(); });
    connect(show_name_check, &QCheckBox::toggled, this, [this](bool on) {
        editor_.attributes.show_name = on;
        store_point_defaults(editor_);
    });
    connect(point_track_bar, &QSlider::valueChanged, this, &Tattributes_form::point_track_barChange);
    connect(scale_edit, &QLineEdit::textChanged, this, &Tattributes_form::scale_editChange);
    connect(round_marker_button, &QToolButton::clicked, this, [this] { marker_buttonClick(p_circle); });
    connect(square_marker_button, &QToolButton::clicked, this, [this] { marker_buttonClick(p_square); });
    connect(area_colour_button, &QPushButton::clicked, this, [this] { colour_buttonClick(true); });
    connect(border_colour_button, &QPushButton::clicked, this, [this] { colour_buttonClick(false); });
    connect(ok_button, &QPushButton::clicked, this, &Tattributes_form::ok_buttonClick);

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
    load_attributes(editor_.attributes, read);
    show_values();
}

void Tattributes_form::save_settings(const setting_writer& write) const
{
    save_attributes(editor_.attributes, write);
}

void Tattributes_form::update_shape() { point_image->update(); }

// Puts the current values into the widgets without running their rules again.
void Tattributes_form::show_values()
{
    const point_attributes& values = editor_.attributes;
    {
        const QSignalBlocker blocks[] = {QSignalBlocker(name_edit), QSignalBlocker(hint_edit),
                                         QSignalBlocker(show_name_check),
                                         QSignalBlocker(point_track_bar), QSignalBlocker(scale_edit)};
        name_edit->setText(QString::fromStdString(values.name));
        hint_edit->setText(QString::fromStdString(values.hint));
        show_name_check->setChecked(values.show_name);
        point_track_bar->setValue(values.point_size);
        scale_edit->setText(QString::number(values.point_size));
    }
    ((values.marker & p_circle) ? round_marker_button : square_marker_button)->setChecked(true);
    store_point_defaults(editor_);
    update_shape();
}

void Tattributes_form::point_track_barChange(int position)
{
    point_track_bar_change(editor_.attributes, position);
    scale_edit->setText(QString::number(editor_.attributes.point_size));
    store_point_defaults(editor_);
    update_shape();
}

void Tattributes_form::scale_editChange(const QString& text)
{
    const std::optional<std::string> put_back = scale_edit_change(editor_.attributes, text.toStdString());
    if (put_back) {
        // The edit's own change event must not judge the restored text again.
        editor_.attributes.size_edit_busy = true;
        scale_edit->setText(QString::fromStdString(*put_back));
        editor_.attributes.size_edit_busy = false;
        return;
    }
    if (editor_.attributes.size_edit_busy) return;
    store_point_defaults(editor_);
    update_shape();
}

void Tattributes_form::marker_buttonClick(point_type marker)
{
    if (!marker_button_click(editor_.attributes, editor_.build_set() != nullptr, marker)) return;
    store_point_defaults(editor_);
    update_shape();
}

void Tattributes_form::colour_buttonClick(bool area)
{
    if (!choose_colour_) return;
    const std::optional<colour_value> colour = choose_colour_(editor_.chosen_colour);
    if (!colour) return;
    const bool taken = area ? area_colour_chosen(editor_, *colour) : border_colour_chosen(editor_, *colour);
    if (!taken) return;
    emit map_changed();
    update_shape();
}

void Tattributes_form::ok_buttonClick()
{
    if (editor_.build_set()) {
        ok_button_click(editor_);
        show_values();  // an empty name or hint box took the first point's
        emit map_changed();
    }
    hide();
}

} // namespace wayloom
