#include "app/preferences_form.h"

#include "source/number_text.h"
#include "view/geometry/view_state.h"
#include "view/map_painter.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <initializer_list>
#include <string>

namespace wayloom {

namespace {

QGroupBox* radio_group(QWidget* parent, const char* caption,
                       std::initializer_list<std::pair<QRadioButton**, const char*>> items)
{
    auto* group = new QGroupBox(caption, parent);
    auto* layout = new QVBoxLayout(group);
    for (const auto& [item, text] : items) {
        *item = new QRadioButton(text, group);
        layout->addWidget(*item);
    }
    return group;
}

std::optional<colour_value> stored_colour(const std::optional<std::string>& text)
{
    const auto value = text ? parse_whole_number(*text, 0, 0xFFFFFF) : std::nullopt;
    if (!value) return std::nullopt;
    return static_cast<colour_value>(*value);
}

} // namespace

Tpreferences_form::Tpreferences_form(measurement& units, view_state& view,
                                     colour_value system_background, colour_chooser choose_colour,
                                     QWidget* parent)
    : QDialog(parent), units_(units), view_(view), system_background_(system_background),
      choose_colour_(std::move(choose_colour))
{
    setObjectName("preferences_form");
    setWindowTitle("Preferences");
    setModal(false);
    auto* layout = new QVBoxLayout(this);

    background_group = new QGroupBox("Background", this);
    auto* background_layout = new QHBoxLayout(background_group);
    colour_button = new QPushButton("Colour", background_group);
    colour_edit = new QLineEdit(background_group);
    colour_edit->setReadOnly(true);
    background_layout->addWidget(colour_button);
    background_layout->addWidget(colour_edit);
    layout->addWidget(background_group);

    measurement_group = radio_group(this, "Measurement in",
                                    {{&metric_item, "Metric"}, {&imperial_item, "Imperial"}});
    metric_group = radio_group(this, "Metric", {{&metre_item, "Metre"}, {&kilometre_item, "Kilometre"}});
    imperial_group = radio_group(this, "Imperial",
                                 {{&feet_item, "Feet"}, {&yard_item, "Yard"}, {&mile_item, "Mile"}});
    for (QGroupBox* group : {measurement_group, metric_group, imperial_group}) layout->addWidget(group);

    for (QRadioButton* item : {metric_item, imperial_item, metre_item, kilometre_item, feet_item,
                               yard_item, mile_item})
        connect(item, &QRadioButton::clicked, this, &Tpreferences_form::group_click);
    connect(colour_button, &QPushButton::clicked, this, &Tpreferences_form::colour_buttonClick);

    units_.scale_changed = units_.units_changed = true;
    show_choice();
    show_background();
}

void Tpreferences_form::show_choice()
{
    const unit_choice& c = units_.choice;
    const bool metric = c.system == measurement_system::metric;
    (metric ? metric_item : imperial_item)->setChecked(true);
    (c.metric == metric_unit::metre ? metre_item : kilometre_item)->setChecked(true);
    (c.imperial == imperial_unit::feet   ? feet_item
     : c.imperial == imperial_unit::yard ? yard_item
                                         : mile_item)
        ->setChecked(true);
    metric_group->setEnabled(metric);
    imperial_group->setEnabled(!metric);
}

void Tpreferences_form::show_background()
{
    const QColor colour = to_qcolor(view_.background);
    colour_edit->setStyleSheet(QString("QLineEdit { background: %1; }").arg(colour.name()));
}

void Tpreferences_form::group_click()
{
    unit_choice next;
    next.system = metric_item->isChecked() ? measurement_system::metric : measurement_system::imperial;
    next.metric = metre_item->isChecked() ? metric_unit::metre : metric_unit::kilometre;
    next.imperial = feet_item->isChecked()   ? imperial_unit::feet
                    : yard_item->isChecked() ? imperial_unit::yard
                                             : imperial_unit::mile;
    const bool changed = units_.choose(next);
    show_choice();
    if (changed) emit map_changed();
}

void Tpreferences_form::colour_buttonClick()
{
    const std::optional<colour_value> chosen = choose_colour_(view_.background);
    if (!chosen) return;
    chosen_background_ = normalise_colour(*chosen);
    view_.background = *chosen_background_;
    show_background();
    emit map_changed();
}

void Tpreferences_form::load_settings(const setting_reader& read)
{
    unit_settings stored;
    stored.measurement = read("measurement");
    stored.metric = read("metric");
    stored.imperial = read("imperial");
    units_.choose(read_unit_choice(stored, units_.choice));
    show_choice();
    chosen_background_ = stored_colour(read("background"));
    view_.background = chosen_background_.value_or(system_background_);
    show_background();
}

void Tpreferences_form::save_settings(const setting_writer& write) const
{
    const unit_settings out = write_unit_choice(units_.choice);
    write("measurement", *out.measurement);
    write("metric", *out.metric);
    write("imperial", *out.imperial);
    write("background", std::to_string(chosen_background_ ? std::int64_t{*chosen_background_}
                                                          : system_window_colour));
}

} // namespace wayloom
