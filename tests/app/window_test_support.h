// What the window tests share: the example maps, list texts, and a desktop
// whose dialogs, boxes, browser and program end the test answers.
#pragma once

#include "app/form_services.h"
#include "app/item_list_view.h"
#include "app/map_form.h"
#include "model/item_list.h"
#include "tests/find_control.h"
#include "tests/read_text.h"

#include <QAbstractItemModel>
#include <QTemporaryDir>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QLabel>
#include <QTest>
#include <QToolBar>

#include <deque>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wayloom::testing {

inline const std::string source_dir = WAYLOOM_SOURCE_DIR;
inline const std::string farm = source_dir + "/examples/farm.wlm";
inline const std::string examples = source_dir + "/examples/";

inline void write_text(const std::string& name, const std::string& text)
{
    std::ofstream(name, std::ios::binary) << text;
}

inline std::vector<std::string> texts(const item_list& list)
{
    std::vector<std::string> out;
    for (const list_entry& e : list.entries) out.push_back(e.text);
    return out;
}

inline std::vector<std::string> shown(const item_list_view* view)
{
    std::vector<std::string> out;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        out.push_back(view->model()->index(row, 0).data().toString().toStdString());
    return out;
}

inline const std::vector<std::string> farm_items = {"north-meadow", "long-field", "orchard",
                                             "pond",         "farm-track", "fence-posts"};

// Everything the window asked of the desktop, and the answers to give.
struct desktop_double {
    std::deque<std::optional<std::string>> open_answers;
    std::deque<std::optional<save_choice>> save_answers;
    std::vector<std::string> open_directories;
    std::vector<std::string> open_filters;  // of the typed open dialog
    std::deque<std::optional<std::string>> folder_answers;
    std::vector<std::string> folder_captions;
    std::vector<save_request> save_requests;
    std::vector<std::string> errors;
    std::vector<std::string> addresses;
    bool browser_starts = true;
    int quits = 0;
    // The colour dialog's answers; a cancel when none is left.
    std::deque<std::optional<colour_value>> colours;
    // Answers to "Save changes to the map?"; Cancel when none is left.
    std::deque<save_answer> save_questions;
    int questions = 0;
    // The print dialog: the scale field as it opened, and the answers (a
    // scale typed, or a cancel); the printer writes `print_file` as a PDF,
    // on `print_paper`.
    std::vector<std::string> print_scales;
    std::vector<std::string> print_names;  // the output file each print dialog opened with
    std::deque<std::optional<std::string>> print_answers;
    std::string print_file;
    QPageSize print_paper{QPageSize::A4};
    QPageLayout::Orientation print_orientation = QPageLayout::Portrait;

    // The next answer of a queue, or `none` when the test gave no more.
    template <class T>
    static T next(std::deque<T>& answers, T none = {})
    {
        if (answers.empty()) return none;
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }

    std::optional<std::string> s_open(const std::string& directory)
    {
        open_directories.push_back(directory);
        return next(open_answers);
    }

    form_services services()
    {
        form_services s;
        s.open_file = [this](const std::string& directory) { return s_open(directory); };
        s.open_file_of_type = [this](const std::string& directory, const std::string& filter) {
            open_filters.push_back(filter);
            return s_open(directory);
        };
        s.pick_folder = [this](const std::string&, const std::string& caption) {
            folder_captions.push_back(caption);
            return next(folder_answers);
        };
        s.save_file = [this](const save_request& request) {
            save_requests.push_back(request);
            return next(save_answers);
        };
        s.error_box = [this](const std::string& message) { errors.push_back(message); };
        s.open_url = [this](const std::string& address) {
            addresses.push_back(address);
            return browser_starts;
        };
        s.ask_save_changes = [this] {
            ++questions;
            return next(save_questions, save_answer::cancel);
        };
        s.print_dialog = [this](QPrinter& printer, const std::string& scale) {
            print_scales.push_back(scale);
            print_names.push_back(printer.outputFileName().toStdString());
            std::optional<std::string> answer = next(print_answers);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(print_file));
            printer.setPageSize(print_paper);
            printer.setPageOrientation(print_orientation);
            return answer;
        };
        s.choose_colour = [this](colour_value) { return next(colours); };
        s.quit = [this] { ++quits; };
        return s;
    }
};

// What the window tests reach inside the main window: its panels and lists.
struct form_access {
    static const map_form_controls& ui(const Tmap_form& form) { return form.ui_; }
};

inline const map_form_controls& ui(const Tmap_form& form) { return form_access::ui(form); }
inline const map_form_controls& ui(const std::unique_ptr<Tmap_form>& form) { return ui(*form); }

// Selects the rows of a list as the user does, the others unselected.
inline void select_rows(item_list_view* view, std::initializer_list<int> rows)
{
    view->clearSelection();
    for (int row : rows)
        view->selectionModel()->select(view->model()->index(row, 0), QItemSelectionModel::Select);
}
inline void select_rows(item_list_view* view, int row) { select_rows(view, {row}); }

// A press and release over an entry of a list, as the user does it.
inline void click(item_list_view* view, int row, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = {})
{
    const QModelIndex at = view->model()->index(row, 0);
    view->scrollTo(at);
    QTest::mouseClick(view->viewport(), button, modifiers, view->visualRect(at).center());
}

// A menu item by its menu's caption and its own, as the user finds it.
inline QAction* item(const Tmap_form& form, const QString& menu, const QString& caption)
{
    for (QAction* entry : form.menuBar()->actions())
        if (entry->text() == menu)
            for (QAction* action : entry->menu()->actions())
                if (action->text() == caption) return action;
    qFatal("no menu item %s %s", qPrintable(menu), qPrintable(caption));
}
inline QAction* item(const std::unique_ptr<Tmap_form>& form, const QString& menu, const QString& caption)
{
    return item(*form, menu, caption);
}

// A tool button of a strip by its hint.
inline QAction* button(const QToolBar* strip, const QString& hint)
{
    for (QAction* action : strip->actions())
        if (!action->isSeparator() && action->toolTip() == hint) return action;
    qFatal("no button %s", qPrintable(hint));
}

// The main window over program directory `home`, answered by `desktop`,
// shown and exposed unless `show` is false.
inline std::unique_ptr<Tmap_form> open_window(const std::string& home, desktop_double& desktop,
                                              std::optional<std::string> argument, bool show = true,
                                              const std::string& mount_root = "/")
{
    startup_options options;
    options.program_directory = home;
    options.mount_root = mount_root;
    options.executable_directory = source_dir + "/docs/";
    options.map_argument = std::move(argument);
    auto form = std::make_unique<Tmap_form>(options, desktop.services());
    if (show) {
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get())) qWarning("window not exposed");
    }
    return form;
}

// A fresh program directory and desktop for every test of a suite.
struct window_fixture {
    std::unique_ptr<QTemporaryDir> home_;
    desktop_double desktop_;
    std::string mount_root_ = "/";  // where the next window looks for handset drives

    void fresh()
    {
        home_ = std::make_unique<QTemporaryDir>();
        QVERIFY(home_->isValid());
        desktop_ = desktop_double{};
        mount_root_ = "/";
    }
    std::string home() const { return home_->path().toStdString() + "/"; }
    std::string ini() const { return home() + "wayloom.ini"; }

    std::unique_ptr<Tmap_form> make_form(std::optional<std::string> argument = std::nullopt,
                                         bool show = true)
    {
        return open_window(home(), desktop_, std::move(argument), show, mount_root_);
    }

    // Every shape selected and drawn: the surface shows the whole map.
    static void select_all_items(Tmap_form& form)
    {
        ui(form).shape_list->selectAll();
        form.draw_buttonClick();
    }
};

} // namespace wayloom::testing
