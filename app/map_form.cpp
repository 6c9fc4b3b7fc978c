#include "app/map_form.h"

#include "app/item_list_view.h"
#include "app/map_surface.h"
#include "app/toolbar_icons.h"
#include "app/window_position.h"
#include "editing/item_commands.h"
#include "editing/mode_switching.h"
#include "editing/node_moves.h"
#include "editing/qt/attributes_form.h"
#include "editing/set_building.h"
#include "editing/shape_building.h"
#include "editing/unsaved_changes.h"
#include "gps/qt/gps_form.h"
#include "gps/serial_posix.h"
#include "source/writer.h"
#include "view/bitmap_export.h"
#include "view/geometry/map_refresh.h"
#include "view/geometry/projection.h"
#include "view/map_painter.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace wayloom {

namespace {

constexpr const char* caption = "Wayloom " WAYLOOM_VERSION;
constexpr const char* web_page = "https://wayloom.example.org/";
constexpr const char* map_filter = "Wayloom map file [wlm]|*.wlm";
constexpr const char* bitmap_filter = "Windows bitmap [bmp]|*.bmp";
constexpr const char* png_filter = "PNG image [png]|*.png";

constexpr int source_panel_width = 246;
constexpr int toolbar_panel_height = 27;

QAction* menu_entry(QMenu* menu, const char* caption, const char* hint = nullptr,
                    bool enabled = true)
{
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    if (hint) {
        action->setStatusTip(QString::fromUtf8(hint));
        action->setToolTip(QString::fromUtf8(hint));
    }
    action->setEnabled(enabled);
    return action;
}

QAction* tool_button(QToolBar* bar, const QIcon& icon, const char* hint, bool enabled = true)
{
    QAction* action = bar->addAction(icon, QString::fromUtf8(hint));
    action->setToolTip(QString::fromUtf8(hint));
    action->setStatusTip(QString::fromUtf8(hint));
    action->setEnabled(enabled);
    return action;
}

QToolBar* tool_strip(QWidget* parent, const char* name)
{
    auto* bar = new QToolBar(parent);
    bar->setObjectName(name);
    bar->setIconSize(QSize(20, 20));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setContentsMargins(0, 0, 0, 0);
    return bar;
}

QLineEdit* edit_box(QWidget* parent, const char* hint)
{
    auto* edit = new QLineEdit(parent);
    edit->setToolTip(QString::fromUtf8(hint));
    return edit;
}

std::string file_part(const std::string& file_name)
{
    const auto slash = file_name.find_last_of('/');
    return slash == std::string::npos ? file_name : file_name.substr(slash + 1);
}

} // namespace

Tmap_form::Tmap_form(startup_options options, form_services services, QWidget* parent)
    : QMainWindow(parent), options_(std::move(options)),
      services_(with_desktop_defaults(std::move(services), this))
{
    setWindowTitle(QString::fromUtf8(caption));
    build_panels();
    build_menus();
    build_toolbars();
    attributes = new Tattributes_form(editor, this);
    gps_form = new Tgps_form(doc, std::make_unique<gps::posix_serial>(),
                             join_path(options_.program_directory, "rave-viz.log"), this);
    gps_form->show_error = [this](const std::string& message) { services_.error_box(message); };
    connect_editing();
    resize(880, 504);

    state.set_map_border(0);
    state.background = make_colour(static_cast<std::uint32_t>(palette().color(QPalette::Window).red()),
                                   static_cast<std::uint32_t>(palette().color(QPalette::Window).green()),
                                   static_cast<std::uint32_t>(palette().color(QPalette::Window).blue()));
    load_path = save_path = options_.program_directory;
    load_settings();
    settings_writers.push_back([this](ini_file& settings) {
        save_placement(*attributes, settings, "attributes");
        attributes->save_settings([&](std::string_view key, std::string_view value) {
            settings.write_string("attributes", key, value);
        });
    });
    settings_writers.push_back([this](ini_file& settings) {
        save_placement(*gps_form, settings, "gps");
        gps_form->save_settings([&](std::string_view key, std::string_view value) {
            settings.write_string("gps", key, value);
        });
    });
    if (options_.gps_port) {
        gps_form->port_edit->setCurrentText(QString::fromStdString(*options_.gps_port));
        gps_form->show();
    }

    if (options_.map_argument)
        if (const auto file = map_argument_file(*options_.map_argument, load_path))
            read_map_file(*file);
}

Tmap_form::~Tmap_form() = default;

void Tmap_form::build_panels()
{
    map_panel = new QWidget(this);
    setCentralWidget(map_panel);
    auto* outer = new QVBoxLayout(map_panel);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    toolbar_panel = new QWidget(map_panel);
    toolbar_panel->setFixedHeight(toolbar_panel_height + 4);
    auto* strips = new QHBoxLayout(toolbar_panel);
    strips->setContentsMargins(0, 0, 0, 0);
    strips->setSpacing(0);
    main_toolbar = tool_strip(toolbar_panel, "main_toolbar");
    right_toolbar = tool_strip(toolbar_panel, "right_toolbar");
    points_toolbar = tool_strip(toolbar_panel, "points_toolbar");
    strips->addWidget(main_toolbar);
    strips->addStretch(1);
    strips->addWidget(right_toolbar);
    strips->addWidget(points_toolbar);
    outer->addWidget(toolbar_panel);

    auto* body = new QWidget(map_panel);
    auto* columns = new QHBoxLayout(body);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    outer->addWidget(body, 1);

    // The surface is placed by hand inside the draw panel: the projection
    // decides its size and position.
    draw_panel = new QWidget(body);
    draw_panel->setMinimumSize(50, 50);
    draw_panel->installEventFilter(this);
    shape_window = new map_surface(state, doc.shape_list, draw_panel);
    columns->addWidget(draw_panel, 1);

    source_panel = new QWidget(body);
    source_panel->setFixedWidth(source_panel_width);
    auto* source_layout = new QVBoxLayout(source_panel);
    source_layout->setContentsMargins(0, 0, 0, 0);
    map_control = new QTabWidget(source_panel);
    // All four tab captions fit across the panel's fixed width.
    map_control->setStyleSheet("QTabBar::tab { padding: 3px 7px; }");
    map_control->setUsesScrollButtons(false);
    source_layout->addWidget(map_control);
    columns->addWidget(source_panel);

    auto column = [](QWidget* parent) {
        auto* layout = new QVBoxLayout(parent);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->setSpacing(2);
        return layout;
    };
    using mode = QAbstractItemView::SelectionMode;

    shapes_sheet = new QWidget(map_control);
    column(shapes_sheet);
    shape_panel = new QWidget(shapes_sheet);
    shapes_sheet->layout()->addWidget(shape_panel);
    auto* shape_column = column(shape_panel);
    shape_column->setContentsMargins(0, 0, 0, 0);
    shape_edit = edit_box(shape_panel, "Edit shapes name here");
    shape_list = new item_list_view(doc.shape_list, mode::ExtendedSelection, shape_panel);
    shape_list->setToolTip("Right click on shape to change it's name");
    shape_column->addWidget(shape_edit);
    shape_column->addWidget(shape_list, 1);
    map_control->addTab(shapes_sheet, "Shapes");

    // The Waypoints and Points tabs: classes on top, then the item being
    // built over the waypoints to build it from.
    auto build_sheet = [&](QWidget*& sheet, QWidget*& classes, QLineEdit*& edit,
                           item_list_view*& class_view, item_list& classes_core,
                           QSplitter*& lower, item_list_view*& built, item_list& built_core,
                           item_list_view*& source, item_list& source_core) {
        sheet = new QWidget(map_control);
        auto* sheet_column = column(sheet);
        classes = new QWidget(sheet);
        auto* class_column = column(classes);
        class_column->setContentsMargins(0, 0, 0, 0);
        edit = edit_box(classes, "Enter name of new class here and press enter");
        class_view = new item_list_view(classes_core, mode::MultiSelection, classes);
        class_view->setToolTip("Select classes for shape");
        class_view->setMaximumHeight(110);
        class_column->addWidget(edit);
        class_column->addWidget(class_view);
        sheet_column->addWidget(classes);

        lower = new QSplitter(Qt::Vertical, sheet);
        built = new item_list_view(built_core, mode::ExtendedSelection, lower);
        built->setToolTip("Each waypoint for shape appears here");
        source = new item_list_view(source_core, mode::SingleSelection, lower);
        source->setToolTip("Click on waypoint here to add to shape");
        lower->addWidget(built);
        lower->addWidget(source);
        lower->setStretchFactor(0, 1);
        lower->setStretchFactor(1, 2);  // the waypoints are the longer list
        sheet_column->addWidget(lower, 1);
    };
    build_sheet(waypoints_sheet, classes_panel, class_edit, class_list, doc.class_list,
                waypoint_panel, waypoints_shape_list, editor.waypoints_shape_list, waypoints_list,
                doc.waypoints_list);
    map_control->addTab(waypoints_sheet, "Waypoints");
    build_sheet(points_sheet, points_classes_panel, points_class_edit, points_class_list,
                doc.points_class_list, points_panel, points_list, editor.points_list,
                waypoints_set_list, editor.waypoints_set_list);
    map_control->addTab(points_sheet, "Points");

    error_sheet = new QWidget(map_control);
    column(error_sheet);
    error_list = new item_list_view(doc.error_list, mode::SingleSelection, error_sheet);
    error_sheet->layout()->addWidget(error_list);
    map_control->addTab(error_sheet, "Error");

    map_control->setCurrentIndex(shapes_page);
}

void Tmap_form::build_menus()
{
    QMenu* file = menuBar()->addMenu("&File");
    new_map_item = menu_entry(file, "&New map", nullptr, false);
    open_map_item = menu_entry(file, "&Open map");
    merge_map_item = menu_entry(file, "&Merge map");
    save_map_item = menu_entry(file, "&Save map");
    file->addSeparator();
    print_map_item = menu_entry(file, "&Print map", nullptr, false);
    export_item = menu_entry(file, "&Export to bitmap", "Export map image to disk");
    file->addSeparator();
    preferences_item = menu_entry(file, "Pre&ferences...", "Change program settings", false);
    file->addSeparator();
    exit_item = menu_entry(file, "E&xit");

    QMenu* edit = menuBar()->addMenu("&Edit");
    copy_item = menu_entry(edit, "&Copy", nullptr, false);
    cut_item = menu_entry(edit, "&Cut", nullptr, false);
    paste_item = menu_entry(edit, "&Paste", nullptr, false);
    edit->addSeparator();
    delete_item = menu_entry(edit, "&Delete");
    edit_item = menu_entry(edit, "&Edit");

    QMenu* view = menuBar()->addMenu("&View");
    refresh_item = menu_entry(view, "&Refresh from source");
    redraw_item = menu_entry(view, "Re&draw map");
    view->addSeparator();
    statistics_item = menu_entry(view, "Statistics...", "Statistics dialog", false);
    scale_item = menu_entry(view, "Scale ruler...", "Distance ruler", false);
    legend_item = menu_entry(view, "Legend...", "Legend for map", false);

    QMenu* gps = menuBar()->addMenu("&GPS");
    gps_item = menu_entry(gps, "&Show/Hide GPS dialog", "Display or hide GPS panel");
    init_gps_item = menu_entry(gps, "&Initialise GPS", "Initialise the GPS handset. Must be set to Garmin.");
    download_item = menu_entry(gps, "&Download Waypoints", "Download waypoints from GPS");

    QMenu* shapes = menuBar()->addMenu("&Shapes");
    shapes_attributes_item = menu_entry(shapes, "&Show attributes");
    add_shape_item = menu_entry(shapes, "&Add shape");
    shapes_up_item = menu_entry(shapes, "Move &up");
    shapes_down_item = menu_entry(shapes, "Move &down");
    shapes_delete_item = menu_entry(shapes, "D&elete");

    QMenu* points = menuBar()->addMenu("&Points");
    points_attributes_item = menu_entry(points, "&Show attributes");
    add_set_item = menu_entry(points, "&Add set");
    points_up_item = menu_entry(points, "Move &up");
    points_down_item = menu_entry(points, "Move points &down");
    points_delete_item = menu_entry(points, "D&elete");

    QMenu* classes = menuBar()->addMenu("&Classes");
    classes_attributes_item = menu_entry(classes, "&Show attributes");
    add_class_item = menu_entry(classes, "&Add class");
    delete_class_item = menu_entry(classes, "&Delete class");  // has no action

    QMenu* help = menuBar()->addMenu("&Help");
    about_item = menu_entry(help, "About", nullptr, false);
    help_menu_item = menu_entry(help, "&Help");
    kestrow_menu_item = menu_entry(help, "What is Kestrow");
    kestrow_website_item = menu_entry(help, "Kestrow Website");

    for (QMenu* menu : {file, edit, view, gps, shapes, points, classes, help})
        menu->setToolTipsVisible(true);

    connect(open_map_item, &QAction::triggered, this, &Tmap_form::load_project);
    connect(merge_map_item, &QAction::triggered, this, &Tmap_form::merge_project);
    connect(save_map_item, &QAction::triggered, this, &Tmap_form::save_project);
    connect(export_item, &QAction::triggered, this, &Tmap_form::export_buttonClick);
    connect(exit_item, &QAction::triggered, this, &Tmap_form::exit_itemClick);
    connect(refresh_item, &QAction::triggered, this, &Tmap_form::update_buttonClick);
    connect(redraw_item, &QAction::triggered, this, &Tmap_form::draw_buttonClick);
    connect(help_menu_item, &QAction::triggered, this, &Tmap_form::help_menu_itemClick);
    connect(kestrow_menu_item, &QAction::triggered, this, &Tmap_form::kestrow_menu_itemClick);
    connect(kestrow_website_item, &QAction::triggered, this, &Tmap_form::kestrow_website_itemClick);
}

void Tmap_form::build_toolbars()
{
    QToolBar* bar = main_toolbar;
    new_button = tool_button(bar, theme_icon("document-new", 'N'), "Create new map [not implemented]", false);
    open_button = tool_button(bar, theme_icon("document-open", 'O'), "Open a map");
    merge_button = tool_button(bar, theme_icon("list-add", 'M'), "Merge map");
    save_button = tool_button(bar, theme_icon("document-save", 'S'), "Save map");
    print_button = tool_button(bar, theme_icon("document-print", 'P'), "Print Map [not implemented]", false);
    export_button = tool_button(bar, theme_icon("insert-image", 'X'), "Export map to bitmap");
    bar->addSeparator();
    copy_button = tool_button(bar, theme_icon("edit-copy", 'C'), "Copy shape to clipboard [not implemented]", false);
    cut_button = tool_button(bar, theme_icon("edit-cut", 'U'), "Move shape to clipboard [not implemented]", false);
    paste_button = tool_button(bar, theme_icon("edit-paste", 'V'), "Paste shape from clipboard [not implemented]", false);
    bar->addSeparator();
    statistics_button = tool_button(bar, theme_icon("accessories-calculator", 'T'), "The Stastics Page", false);
    legend_button = tool_button(bar, theme_icon("format-justify-left", 'L'), "Place legend on map", false);
    scale_button = tool_button(bar, theme_icon("zoom-fit-best", 'R'), "The Scale Ruler", false);
    gps_button = tool_button(bar, theme_icon("network-transmit-receive", 'G'), "Hide/Show GPS configuration");
    bar->addSeparator();
    update_button = tool_button(bar, theme_icon("document-revert", 'U'), "Update manual changes made to map source");
    draw_button = tool_button(bar, theme_icon("applications-graphics", 'D'), "Draw map");
    bar->addSeparator();
    delete_shape_button = tool_button(bar, theme_icon("edit-delete", 'E'), "Delete Shape");
    edit_shape_button = tool_button(bar, theme_icon("document-properties", 'E'), "Edit Shape");
    bar->addSeparator();
    exit_button = tool_button(bar, theme_icon("application-exit", 'Q'), "Exit from Wayloom");

    connect(open_button, &QAction::triggered, this, &Tmap_form::load_project);
    connect(merge_button, &QAction::triggered, this, &Tmap_form::merge_project);
    connect(save_button, &QAction::triggered, this, &Tmap_form::save_project);
    connect(export_button, &QAction::triggered, this, &Tmap_form::export_buttonClick);
    connect(update_button, &QAction::triggered, this, &Tmap_form::update_buttonClick);
    connect(draw_button, &QAction::triggered, this, &Tmap_form::draw_buttonClick);
    connect(exit_button, &QAction::triggered, this, &Tmap_form::exit_buttonClick);

    // Shown while a shape or a point set is being built.
    delete_button = tool_button(right_toolbar, theme_icon("list-remove", '-'), "Delete node in shape");
    down_button = tool_button(right_toolbar, theme_icon("go-down", 'v'), "Move node down in list");
    up_button = tool_button(right_toolbar, theme_icon("go-up", '^'), "Move node up in list");
    add_shape_buttton = tool_button(right_toolbar, theme_icon("list-add", '+'), "Add node to map");
    add_class_button = tool_button(right_toolbar, theme_icon("folder-new", 'K'), "Create Class");
    path_button = tool_button(right_toolbar, line_icon(), "Draw shape as line");
    polygon_button = tool_button(right_toolbar, polygon_icon(), "Draw shape as polygon");
    path_button->setCheckable(true);
    polygon_button->setCheckable(true);
    path_button->setChecked(true);
    auto* kinds = new QActionGroup(right_toolbar);
    kinds->addAction(path_button);
    kinds->addAction(polygon_button);
    colour_button = tool_button(right_toolbar, theme_icon("preferences-desktop-theme", 'A'), "Attributes page");

    delete_point_button = tool_button(points_toolbar, theme_icon("list-remove", '-'), "Delete node in shape");
    move_point_down_button = tool_button(points_toolbar, theme_icon("go-down", 'v'), "Move node down in list");
    move_point_up_button = tool_button(points_toolbar, theme_icon("go-up", '^'), "Move node up in list");
    add_point_button = tool_button(points_toolbar, theme_icon("list-add", '+'), "Add node to map");
    point_attributes_button = tool_button(points_toolbar, theme_icon("preferences-desktop-theme", 'A'), "Attributes page");

    for (QToolBar* strip : {right_toolbar, points_toolbar}) {
        strip->setVisible(false);
        strip->setEnabled(false);
    }
}

void Tmap_form::connect_editing()
{
    auto on = [this](QAction* action, edit_result (*command)(map_editor&)) {
        connect(action, &QAction::triggered, this, [this, command] { apply(command(editor)); });
    };
    on(delete_button, delete_button_click);
    on(shapes_delete_item, delete_button_click);
    on(up_button, up_button_click);
    on(shapes_up_item, up_button_click);
    on(down_button, down_button_click);
    on(shapes_down_item, down_button_click);
    on(delete_point_button, delete_point_button_click);
    on(points_delete_item, delete_point_button_click);
    on(move_point_up_button, points_up_button_click);
    on(points_up_item, points_up_button_click);
    on(move_point_down_button, points_down_button_click);
    on(points_down_item, points_down_button_click);
    for (QAction* commit : {add_shape_buttton, add_point_button, add_shape_item, add_set_item})
        on(commit, add_shape_buttton_click);
    on(path_button, path_button_click);
    on(polygon_button, polygon_button_click);
    on(edit_shape_button, edit_shape_button_click);
    on(edit_item, edit_shape_button_click);
    on(delete_shape_button, delete_shape_button_click);
    on(delete_item, delete_shape_button_click);

    for (QAction* show : {colour_button, point_attributes_button, shapes_attributes_item,
                          points_attributes_item, classes_attributes_item})
        connect(show, &QAction::triggered, this, &Tmap_form::colour_buttonClick);
    connect(attributes, &Tattributes_form::map_changed, this, [this] {
        edit_result repaint;
        repaint.repaint = true;
        apply(repaint);
    });

    connect(gps_item, &QAction::triggered, this, &Tmap_form::gps_buttonClick);
    connect(gps_button, &QAction::triggered, this, &Tmap_form::gps_buttonClick);
    connect(init_gps_item, &QAction::triggered, this, &Tmap_form::init_gps_itemClick);
    connect(download_item, &QAction::triggered, this, &Tmap_form::download_itemClick);
    // Downloaded waypoints are new work, and reach the Points tab's list too.
    connect(gps_form, &Tgps_form::map_changed, this, [this] {
        editor.sync_with_map();
        editor.changes.changed();
        edit_result repaint;
        repaint.repaint = true;
        apply(repaint);
    });

    connect(map_control, &QTabWidget::currentChanged, this,
            [this](int tab) { apply(map_control_change(editor, tab)); });

    connect(waypoints_list, &item_list_view::mouse_down, this,
            [this](int row, QPoint, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
                if (button != Qt::LeftButton) return;
                apply(waypoints_list_mouse_down(editor, row, modifiers.testFlag(Qt::ShiftModifier)));
            });
    connect(waypoints_set_list, &item_list_view::mouse_down, this,
            [this](int row, QPoint, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
                if (button != Qt::LeftButton) return;
                apply(waypoints_set_list_mouse_down(editor, row,
                                                    modifiers.testFlag(Qt::ShiftModifier)));
            });

    // A rename: a right click picks the entry, then every edit of
    // shape_edit renames whatever entry lies under that click.
    connect(shape_list, &item_list_view::mouse_down, this,
            [this](int row, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers) {
                if (button != Qt::RightButton) return;
                rename_point = at;
                if (const auto text = shape_list_mouse_down(editor, row))
                    shape_edit->setText(QString::fromStdString(*text));
            });
    connect(shape_edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QModelIndex at = shape_list->indexAt(rename_point);
        apply(shape_edit_change(editor, at.isValid() ? at.row() : -1, text.toStdString()));
    });

    auto class_from_box = [this] {
        QLineEdit* box = editor.mode == points_tab ? points_class_edit : class_edit;
        std::string text = box->text().toStdString();
        const edit_result result = create_class(editor, text);
        box->setText(QString::fromStdString(text));
        apply(result);
    };
    connect(class_edit, &QLineEdit::returnPressed, this, class_from_box);
    connect(points_class_edit, &QLineEdit::returnPressed, this, class_from_box);
    connect(add_class_button, &QAction::triggered, this, class_from_box);
    connect(add_class_item, &QAction::triggered, this, class_from_box);
}

void Tmap_form::gps_buttonClick() { gps_form->setVisible(!gps_form->isVisible()); }

void Tmap_form::init_gps_itemClick() { gps_form->init_gps(); }

void Tmap_form::download_itemClick() { gps_form->download_gps(); }

void Tmap_form::colour_buttonClick()
{
    attributes->open_for_editing();
}

void Tmap_form::apply(const edit_result& result)
{
    if (!result.error.empty()) services_.error_box(result.error);
    reload_lists();
    right_toolbar->setVisible(editor.right_toolbar_shown);
    right_toolbar->setEnabled(editor.right_toolbar_shown);
    points_toolbar->setVisible(editor.points_toolbar_shown);
    points_toolbar->setEnabled(editor.points_toolbar_shown);
    if (const t_shape* shape = editor.build_shape())
        (shape->is_path() ? path_button : polygon_button)->setChecked(true);
    if (result.repaint) place_surface();
    update_caption();
}

void Tmap_form::update_caption()
{
    setWindowTitle(QString::fromStdString(window_caption(caption, editor.changes)));
}

bool Tmap_form::may_drop_map_now()
{
    return may_drop_map(editor.changes, services_.ask_save_changes, [this] { return save_map_file(); });
}

std::string Tmap_form::settings_file() const
{
    return join_path(options_.program_directory, "wayloom.ini");
}

void Tmap_form::load_settings()
{
    loading_settings_ = true;
    {
        const ini_file settings(settings_file());
        const std::string& home = options_.program_directory;
        load_path = check_dir_exists(settings.read_string("main", "load_path", home), home);
        save_path = check_dir_exists(settings.read_string("main", "save_path", home), home);
        // A size that no window can have keeps the current one.
        auto size = [&](const char* key, int current) {
            const std::int64_t v = settings.read_integer("main", key, current);
            return v > 0 && v <= 100000 ? static_cast<int>(v) : current;
        };
        const int h = size("height", height());
        const int w = size("width", width());
        resize(w, h);
        monitor = load_placement(*this, settings, "main");
        load_placement(*attributes, settings, "attributes");
        auto section = [&settings](const char* name) {
            return [&settings, name](std::string_view key) -> std::optional<std::string> {
                if (!settings.contains(name, key)) return std::nullopt;
                return settings.read_string(name, key, "");
            };
        };
        attributes->load_settings(section("attributes"));
        // Without a stored place the GPS window keeps its own default one.
        if (settings.contains("gps", "monitor")) load_placement(*gps_form, settings, "gps");
        gps_form->load_settings(section("gps"));
    }
    loading_settings_ = false;
    resize_form();
}

void Tmap_form::save_settings()
{
    ini_file settings(settings_file());
    settings.write_string("main", "load_path", load_path);
    settings.write_string("main", "save_path", save_path);
    settings.write_integer("main", "height", height());
    settings.write_integer("main", "width", width());
    save_placement(*this, settings, "main");
    for (const auto& write_section : settings_writers) write_section(settings);
    std::string error;
    if (!settings.save(&error)) services_.error_box(error);
}

void Tmap_form::closeEvent(QCloseEvent* event)
{
    // The link writes into the map while it downloads.
    if (gps_form->working() || !may_drop_map_now()) {
        event->ignore();
        return;
    }
    save_settings();
    gps_form->link.demolish();
    gps_form->hide();
    editor.release_build_items();
    doc.demolish();
    editor.sync_with_map();
    apply({});
    attributes->hide();
    event->accept();
}

bool Tmap_form::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == draw_panel && event->type() == QEvent::Resize) resize_form();
    return QMainWindow::eventFilter(watched, event);
}

void Tmap_form::resize_form()
{
    if (loading_settings_ || resizing_) return;
    resizing_ = true;
    state.avail_width = draw_panel->width();
    state.avail_height = draw_panel->height();
    // Where the surface stays when there is nothing to project.
    state.surface = {4, 4, state.avail_width - 2, state.avail_height - 2};
    resize_window(state, doc.shape_list);
    place_surface();
    resizing_ = false;
}

void Tmap_form::place_surface()
{
    const surface_bounds& at = state.surface;
    shape_window->setGeometry(at.left, at.top, std::max(0, at.width), std::max(0, at.height));
    shape_window->update();
}

void Tmap_form::reload_lists()
{
    for (item_list_view* view : {shape_list, class_list, waypoints_shape_list, waypoints_list,
                                 points_class_list, points_list, waypoints_set_list, error_list})
        view->reload();
}

bool Tmap_form::read_map_file(const std::string& file_name)
{
    if (building()) return false;
    state.reading_map = true;
    const read_report report = read_map(doc, file_name, view_after_read(state));
    state.reading_map = false;
    editor.sync_with_map();
    show_read_report(report, file_name);
    return report.ok();
}

void Tmap_form::show_read_report(const read_report& report, const std::string& missing_name)
{
    // The lists first: an error box runs its own event loop, and the views
    // must not show entries the read has taken back.
    reload_lists();
    place_surface();
    if (report.ok()) return;
    const bool only_missing = report.errors.size() == 1 && !missing_name.empty() &&
                              report.errors.front() == "Cant find : " + missing_name;
    if (!only_missing) map_control->setCurrentIndex(error_page);
    for (const std::string& message : report.errors) services_.error_box(message);
}

void Tmap_form::project_load(bool clear_first)
{
    if (building()) return;
    if (clear_first && !may_drop_map_now()) return;
    const std::optional<std::string> chosen = services_.open_file(load_path);
    if (!chosen) return;
    if (clear_first) {
        editor.release_build_items();
        doc.demolish();
        editor.sync_with_map();
    }
    const std::size_t items_before = doc.shape_list.size() + doc.waypoints_list.size();
    const bool clean = read_map_file(*chosen);
    if (clear_first) {
        // A map the reader could only take in part is not the file any more.
        if (clean || doc.empty()) editor.changes.saved();
        else editor.changes.changed();
    } else if (doc.shape_list.size() + doc.waypoints_list.size() != items_before) {
        editor.changes.changed();
    }
    update_caption();
    if (const std::string folder = directory_of(*chosen); !folder.empty()) load_path = folder;
}

void Tmap_form::load_project() { project_load(true); }

void Tmap_form::merge_project() { project_load(false); }

void Tmap_form::save_project() { save_map_file(); }

bool Tmap_form::save_map_file()
{
    if (building() || doc.empty()) return false;
    const save_request request{save_path, {map_filter}, "wlm",
                               map_file_name_.empty() ? "new.wlm" : map_file_name_};
    const std::optional<save_choice> choice = services_.save_file(request);
    if (!choice) return false;
    const std::string file = add_default_extension(choice->file_name, request.default_extension);
    std::string error;
    if (!save_map(doc, file, &error)) {
        services_.error_box("cannot write " + file + ": " + error);
        return false;
    }
    map_file_name_ = file_part(file);
    if (const std::string folder = directory_of(file); !folder.empty()) save_path = folder;
    editor.changes.saved();
    update_caption();
    shape_window->update();
    return true;
}

void Tmap_form::export_buttonClick()
{
    if (building()) return;
    // The picture is taken before the dialog covers the window.
    const std::int32_t width = shape_window->width();
    const std::int32_t height = shape_window->height();
    const QImage picture = render_map(state, doc.shape_list, shape_window->annotations);
    const save_request request{save_path, {bitmap_filter, png_filter}, "bmp", "new.bmp"};
    const std::optional<save_choice> choice = services_.save_file(request);
    if (!choice) return;
    const std::string file = export_file_name(*choice, request);
    std::string error;
    if (!save_bitmap(picture, width, height, file, &error)) {
        services_.error_box(error);
        return;
    }
    if (const std::string folder = directory_of(file); !folder.empty()) save_path = folder;
}

void Tmap_form::update_buttonClick()
{
    if (doc.shapes.empty() && doc.sets.empty()) return;
    if (!may_drop_map_now()) return;
    editor.release_build_items();
    doc.demolish();
    state.reading_map = true;
    const read_report report = read_from_file(doc, view_after_read(state));
    state.reading_map = false;
    editor.sync_with_map();
    if (report.ok() || doc.empty()) editor.changes.saved();
    else editor.changes.changed();
    show_read_report(report, {});
    apply({});
}

void Tmap_form::draw_buttonClick()
{
    resize_window(state, doc.shape_list);
    place_surface();
}

void Tmap_form::exit_itemClick()
{
    if (may_drop_map_now()) services_.quit();
}

void Tmap_form::exit_buttonClick() { exit_itemClick(); }

std::string Tmap_form::shipped_file(const std::string& name) const
{
    const std::string here = join_path(options_.program_directory, name);
    std::error_code ec;
    if (std::filesystem::exists(here, ec)) return here;
    return join_path(options_.executable_directory, name);
}

void Tmap_form::view_document(const std::string& address)
{
    if (!services_.open_url(address)) services_.error_box("The default browser could not be found.");
}

void Tmap_form::help_menu_itemClick()
{
    view_document(QUrl::fromLocalFile(QString::fromStdString(shipped_file("manual.html")))
                      .toString()
                      .toStdString());
}

void Tmap_form::kestrow_menu_itemClick()
{
    view_document(QUrl::fromLocalFile(QString::fromStdString(shipped_file("kestrow/kestrow.htm")))
                      .toString()
                      .toStdString());
}

void Tmap_form::kestrow_website_itemClick() { view_document(web_page); }

} // namespace wayloom
