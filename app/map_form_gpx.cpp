// The main window's GPX commands: File "Import GPX..." and "Export GPX...",
// and GPS "Import from handset drive...". The reading and writing are in
// source/ and editing/map_files.h; here are the dialogs and the progress bar.
#include "app/map_form.h"
#include "app/status_texts.h"
#include "editing/undo_commands.h"
#include "source/handset_drive.h"

#include <QApplication>
#include <QProgressDialog>

namespace wayloom {

namespace {

constexpr std::size_t files_before_progress = 4;  // fewer go by too fast to show
constexpr const char* pick_drive_caption =
    "No handset drive found: pick the handset's drive, or its Garmin/GPX folder";

} // namespace

void Tmap_form::import_gpx_itemClick()
{
    if (refuses_file_command()) return;
    const std::optional<std::string> chosen =
        services_.open_file_of_type(load_path, std::string(gpx_filter));
    if (!chosen) return;
    import_gpx_files({*chosen}, "Import GPX " + file_part(*chosen));
    if (const std::string folder = directory_of(*chosen); !folder.empty()) load_path = folder;
}

void Tmap_form::export_gpx_itemClick()
{
    if (refuses_file_command() || doc.empty()) return;
    const save_request request{save_path, {std::string(gpx_filter)}, "gpx", files.proposed_gpx_name()};
    const std::optional<save_choice> choice = services_.save_file(request);
    if (!choice) return;
    const std::string file = add_default_extension(choice->file_name, request.default_extension);
    std::string error;
    if (!files.export_gpx(file, error)) {
        services_.error_box("cannot write " + file + ": " + error);
        return;
    }
    if (const std::string folder = directory_of(file); !folder.empty()) save_path = folder;
}

void Tmap_form::handset_drive_itemClick()
{
    if (refuses_file_command()) return;
    std::vector<std::string> drives = find_handset_drives(options_.mount_root);
    if (drives.empty()) {
        // Not mounted where drives usually are: the user shows where.
        const std::optional<std::string> folder = services_.pick_folder(load_path, pick_drive_caption);
        if (!folder) return;
        drives.push_back(*folder);
    }
    std::vector<std::string> gpx_files;
    for (const std::string& drive : drives) {
        const std::vector<std::string> found = handset_gpx_files(drive);
        gpx_files.insert(gpx_files.end(), found.begin(), found.end());
    }
    if (gpx_files.empty()) {
        services_.error_box("No GPX files in " + drives.front() + "/Garmin/GPX");
        return;
    }
    import_gpx_files(gpx_files, "Import from handset drive");
}

void Tmap_form::import_gpx_files(const std::vector<std::string>& gpx_files, const std::string& step)
{
    const map_mark before = doc.mark();
    std::unique_ptr<QProgressDialog> progress;
    if (gpx_files.size() >= files_before_progress) {
        progress = std::make_unique<QProgressDialog>("Importing GPX files...", QString(), 0,
                                                     static_cast<int>(gpx_files.size()), this);
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(0);
    }
    // A file that cannot be read is passed over and the others still come
    // in: each message names its file, and a file's warnings are one message.
    std::vector<std::string> messages;
    bool any_read = false;
    for (std::size_t i = 0; i < gpx_files.size(); ++i) {
        if (progress) {
            progress->setValue(static_cast<int>(i));
            QApplication::processEvents();
        }
        const read_report report = files.append_file(gpx_files[i]);
        any_read = any_read || report.completed;
        const std::vector<std::string> said = import_messages(gpx_files[i], report);
        messages.insert(messages.end(), said.begin(), said.end());
    }
    progress.reset();
    // What every file added is one step.
    record_appended(editor, before, step);
    // The lists first: an error box runs its own event loop.
    reload_lists();
    if (any_read) analyse_legend();
    place_surface();
    for (const std::string& message : messages) services_.error_box(message);
    update_caption();
    if (messages.empty()) show_status_note(imported_note(doc.waypoint_count() - static_cast<std::int32_t>(before.waypoints), gpx_files.size()));
}

} // namespace wayloom
