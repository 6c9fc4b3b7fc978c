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

    background_group_ = new QGroupBox("Background", this);
    auto* background_layout = new QHBoxLayout(background_group_);
    colour_button_ = new QPushButton("Colour", background_group_);
    colour_edit_ = new QLineEdit(background_group_);
    colour_edit_->setReadOnly(true);
    background_layout->addWidget(colour_button_);
    background_layout->addWidget(colour_edit_);
    layout->addWidget(background_group_);

    measurement_group_ = radio_group(this, "Measurement in",
                                    {{&metric_item_, "Metric"}, {&imperial_item_, "Imperial"}});
    metric_group_ = radio_group(this, "Metric", {{&metre_item_, "Metre"}, {&kilometre_item_, "Kilometre"}});
    imperial_group_ = radio_group(this, "Imperial",
                                 {{&feet_item_, "Feet"}, {&yard_item_, "Yard"}, {&mile_item_, "Mile"}});
    for (QGroupBox* group : {measurement_group_, metric_group_, imperial_group_}) layout->addWidget(group);

    const std::pair<QObject*, const char*> names[] = {
        {background_group_, "background_group"}, {colour_button_, "colour_button"},
        {colour_edit_, "colour_edit"},           {measurement_group_, "measurement_group"},
        {metric_item_, "metric_item"},           {imperial_item_, "imperial_item"},
        {metric_group_, "metric_group"},         {metre_item_, "metre_item"},
        {kilometre_item_, "kilometre_item"},     {imperial_group_, "imperial_group"},
        {feet_item_, "feet_item"},               {yard_item_, "yard_item"},
        {mile_item_, "mile_item"},
    };
    for (const auto& [object, name] : names) object->setObjectName(name);

    for (QRadioButton* item : {metric_item_, imperial_item_, metre_item_, kilometre_item_, feet_item_,
                               yard_item_, mile_item_})
        connect(item, &QRadioButton::clicked, this, &Tpreferences_form::group_click);
    connect(colour_button_, &QPushButton::clicked, this, &Tpreferences_form::colour_buttonClick);

    units_.scale_changed = units_.units_changed = true;
    show_choice();
    show_background();
}

void Tpreferences_form::show_choice()
{
    const unit_choice& c = units_.choice;
    const bool metric = c.system == measurement_system::metric;
    (metric ? metric_item_ : imperial_item_)->setChecked(true);
    (c.metric == metric_unit::metre ? metre_item_ : kilometre_item_)->setChecked(true);
    (c.imperial == imperial_unit::feet   ? feet_item_
     : c.imperial == imperial_unit::yard ? yard_item_
                                         : mile_item_)
        ->setChecked(true);
    metric_group_->setEnabled(metric);
    imperial_group_->setEnabled(!metric);
}

void Tpreferences_form::show_background()
{
    const QColor colour = to_qcolor(view_.background);
    colour_edit_->setStyleSheet(QString("QLineEdit { background: %1; }").arg(colour.name()));
}

void Tpreferences_form::group_click()
{
    unit_choice next;
    next.system = metric_item_->isChecked() ? measurement_system::metric : measurement_system::imperial;
    next.metric = metre_item_->isChecked() ? metric_unit::metre : metric_unit::kilometre;
    next.imperial = feet_item_->isChecked()   ? imperial_unit::feet
                    : yard_item_->isChecked() ? imperial_unit::yard
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
