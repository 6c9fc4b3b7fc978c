#include "app/secondary_windows.h"

#include "app/window_position.h"

#include <QWidget>

#include <algorithm>
#include <cassert>

namespace wayloom {

std::string_view section_of(secondary which)
{
    switch (which) {
    case secondary::preferences: return "preferences";
    case secondary::gps: return "gps";
    case secondary::attributes: return "attributes";
    case secondary::scale: return "scale";
    case secondary::statistics: return "statistics";
    case secondary::legend: return "legend";
    }
    return {};
}

void secondary_windows::keep(secondary which, QWidget* form, const ini_file& settings,
                             placement_rule rule,
                             const std::function<void(const setting_reader&)>& load,
                             std::function<void(const setting_writer&)> save)
{
    assert(entries_.empty() || entries_.back().which < which);
    const std::string_view section = section_of(which);
    // Centred and kept inside by its real size: a window not shown yet is
    // 100 × 30 until its layout sizes it, as showing it would.
    if (!form->testAttribute(Qt::WA_Resized)) form->adjustSize();
    if (rule == placement_rule::stored || settings.contains(section, "monitor"))
        load_placement(*form, settings, section);
    load([&settings, section](std::string_view key) -> std::optional<std::string> {
        if (!settings.contains(section, key)) return std::nullopt;
        return settings.read_string(section, key, "");
    });
    entries_.push_back({which, form, std::move(save)});
}

void secondary_windows::save(ini_file& settings) const
{
    for (const secondary which : settings_order) {
        const auto at = std::find_if(entries_.begin(), entries_.end(),
                                     [which](const entry& e) { return e.which == which; });
        if (at == entries_.end()) continue;
        const std::string_view section = section_of(which);
        save_placement(*at->form, settings, section);
        at->save([&settings, section](std::string_view key, std::string_view value) {
            settings.write_string(section, key, value);
        });
    }
}

QWidget* secondary_windows::window(secondary which) const
{
    for (const entry& e : entries_)
        if (e.which == which) return e.form;
    return nullptr;
}

void secondary_windows::toggle(secondary which) const
{
    if (QWidget* form = window(which)) form->setVisible(!form->isVisible());
}

void secondary_windows::hide_all() const
{
    for (const entry& e : entries_) e.form->hide();
}

std::vector<secondary> secondary_windows::created() const
{
    std::vector<secondary> order;
    for (const entry& e : entries_) order.push_back(e.which);
    return order;
}

} // namespace wayloom
