// The statistics window: the shapes (or classes) to include, the perimeter
// shape, Process and Save, and a viewer showing the report file written.
// The report's text is built by statistics/area_report.h; this window
// collects the choice, writes the file and shows it. Section "statistics"
// holds its place and the "Ellipsoidal areas" box ("ellipsoidal", 1 or 0).
#pragma once

#include "model/settings_section.h"
#include "statistics/area_report.h"
#include "view/geometry/units.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTextBrowser;

namespace wayloom {

struct map_document;

class Tstatistics_form : public QDialog {
    Q_OBJECT
public:
    // What the main window lends the window.
    struct desktop {
        // The save dialog with the filter "Text file|*.txt", ".txt" added to
        // a bare name; the path chosen, or nothing when cancelled.
        std::function<std::optional<std::string>()> choose_file;
        std::function<void(const std::string& message)> error_box;
        // Square metres on the WGS84 ellipsoid; the check box needs it.
        std::function<double(const t_shape&)> ellipsoidal_area;
    };

    // Reports go to `program_directory` (ending with "/") unless saved elsewhere.
    Tstatistics_form(map_document& doc, const measurement& units, std::string program_directory,
                     desktop services, QWidget* parent = nullptr);

    void load_settings(const setting_reader& read);
    void save_settings(const setting_writer& write) const;

    // Fills the lists from the map and makes the window ready; an empty map
    // leaves it unready. Run when shown and when the classification changes.
    void analyse();
    // Writes the report to the program directory + `file_name`, or where the
    // save dialog says when `file_name` is empty (the program directory's
    // "statistics.txt" when cancelled), and shows it. A file that cannot be
    // written is an error box and is not shown. Returns whether written.
    bool show_results(const std::string& file_name);
    // The choice the lists and boxes make now.
    report_choice choice() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    map_document& doc_;
    const measurement& units_;
    std::string program_directory_;
    desktop services_;
    report_mode mode_ = report_mode::shapes;
    const t_shape* perimeter_ = nullptr;
    std::vector<const void*> entries_;  // the shape or class of each entry of shapes_list
    std::vector<const t_shape*> perimeters_;  // the shape of each combo entry

    // Each named as its member without the underscore.
    QGroupBox* classification_group_ = nullptr;
    QRadioButton* classes_item_ = nullptr;
    QRadioButton* shapes_item_ = nullptr;
    QListWidget* shapes_list_ = nullptr;
    QComboBox* perimeter_shape_combo_ = nullptr;
    QPushButton* process_button_ = nullptr;
    QPushButton* save_button_ = nullptr;
    QCheckBox* ellipsoidal_check_ = nullptr;
    QTextBrowser* statistics_browser_ = nullptr;
};

} // namespace wayloom
