// What the main window asks of the desktop: file dialogs, error boxes, the
// browser and ending the program. Each is a replaceable function so that
// tests can answer in place of a user; an empty one means the real thing.
#pragma once

#include "app/save_dialog.h"
#include "editing/unsaved_changes.h"
#include "model/colour.h"

#include <functional>
#include <optional>
#include <string>

class QPrinter;
class QWidget;

namespace wayloom {

struct form_services {
    // The open dialog starting in `directory`, with no file type filter; the
    // chosen file, or nothing when cancelled.
    std::function<std::optional<std::string>(const std::string& directory)> open_file;
    // The open dialog starting in `directory` with one file type filter
    // ("GPX file [gpx]|*.gpx"); the chosen file, or nothing when cancelled.
    std::function<std::optional<std::string>(const std::string& directory, const std::string& filter)>
        open_file_of_type;
    // A folder dialog starting in `directory`, its caption saying what to
    // pick; the chosen folder, or nothing.
    std::function<std::optional<std::string>(const std::string& directory, const std::string& caption)>
        pick_folder;
    // The shared save dialog; it asks before overwriting an existing file.
    std::function<std::optional<save_choice>(const save_request& request)> save_file;
    // A modal box with the message, the caption "Error" and one OK button.
    std::function<void(const std::string& message)> error_box;
    // Opens an address ("file:///..." or "https://...") in the user's
    // browser; false when no browser could be started.
    std::function<bool(const std::string& address)> open_url;
    // "Save changes to the map?" with Save, Discard and Cancel.
    std::function<save_answer()> ask_save_changes;
    // The main window's colour dialog, shared by the attributes and the
    // preferences: starts at `start`; the colour chosen, or nothing.
    std::function<std::optional<colour_value>(colour_value start)> choose_colour;
    // The print dialog on `printer` with the scale field holding `scale`;
    // the scale as typed ("1:5000", "fit to page"), or nothing when cancelled.
    std::function<std::optional<std::string>(QPrinter& printer, const std::string& scale)> print_dialog;
    // Ends the message loop at once.
    std::function<void()> quit;
};

// The real dialogs, boxes and browser, parented on `window`, for every
// member of `services` that is empty.
form_services with_desktop_defaults(form_services services, QWidget* window);

} // namespace wayloom
