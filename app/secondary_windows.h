// The windows besides the main one: preferences, GPS, attributes, scale
// ruler, statistics and legend. Each is created once by the main window and
// lives as long as it; each reads its settings section when created and
// writes it when the main window's close asks. A window's contract is two
// member functions, load_settings(setting_reader) and
// save_settings(setting_writer), over the keys of its own section.
#pragma once

#include "app/ini_file.h"
#include "model/settings_section.h"

#include <array>
#include <functional>
#include <string_view>
#include <vector>

class QWidget;

namespace wayloom {

// In the order the program creates them, after the main window.
enum class secondary { preferences, gps, attributes, scale, statistics, legend };

// The order the close writes their sections in, after "main".
inline constexpr std::array settings_order = {secondary::attributes, secondary::scale,
                                              secondary::gps,        secondary::preferences,
                                              secondary::statistics, secondary::legend};

// "preferences", "gps", "attributes", "scale", "statistics", "legend".
std::string_view section_of(secondary which);

// Where a window goes when created.
enum class placement_rule {
    stored,         // where its section says, else centred on the primary monitor
    stored_or_own,  // where its section says when it names a monitor, else where it was built
};

class secondary_windows {
public:
    // Keeps `form` and reads its section from `settings` now: its place,
    // then its values. Windows must be added in creation order.
    template <class Form>
    Form* add(secondary which, Form* form, const ini_file& settings,
              placement_rule rule = placement_rule::stored)
    {
        keep(which, form, settings, rule,
             [form](const setting_reader& read) { form->load_settings(read); },
             [form](const setting_writer& write) { form->save_settings(write); });
        return form;
    }

    // Writes every window's place and values, in settings_order.
    void save(ini_file& settings) const;
    // Shows a hidden window, hides a shown one: what its menu item and its
    // tool button both do. Does nothing for a window not created.
    void toggle(secondary which) const;
    void hide_all() const;

    QWidget* window(secondary which) const;
    // The windows held, in the order they were added.
    std::vector<secondary> created() const;

private:
    struct entry {
        secondary which;
        QWidget* form;
        std::function<void(const setting_writer&)> save;
    };
    std::vector<entry> entries_;

    void keep(secondary which, QWidget* form, const ini_file& settings, placement_rule rule,
              const std::function<void(const setting_reader&)>& load,
              std::function<void(const setting_writer&)> save);
};

} // namespace wayloom
