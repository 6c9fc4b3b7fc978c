// The main window's panels: the tool strip row, the draw panel with the
// surface, and the source panel with its four tabs of lists.
#include "app/item_list_view.h"
#include "app/map_form.h"
#include "app/map_surface.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace wayloom {

namespace {

constexpr int source_panel_width = 246;
constexpr int toolbar_panel_height = 27;
constexpr int class_list_height = 110;

using selection = QAbstractItemView::SelectionMode;

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

QVBoxLayout* column(QWidget* parent, int margin = 2)
{
    auto* layout = new QVBoxLayout(parent);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(2);
    return layout;
}

build_sheet make_build_sheet(QWidget* parent, item_list& classes, item_list& built,
                             item_list& waypoints)
{
    build_sheet s;
    s.sheet = new QWidget(parent);
    QVBoxLayout* sheet_column = column(s.sheet);
    s.classes_panel = new QWidget(s.sheet);
    QVBoxLayout* class_column = column(s.classes_panel, 0);
    s.class_edit = edit_box(s.classes_panel, "Enter name of new class here and press enter");
    s.class_list = new item_list_view(classes, selection::MultiSelection, s.classes_panel);
    s.class_list->setToolTip("Select classes for shape");
    s.class_list->setMaximumHeight(class_list_height);
    class_column->addWidget(s.class_edit);
    class_column->addWidget(s.class_list);
    sheet_column->addWidget(s.classes_panel);

    s.lower = new QSplitter(Qt::Vertical, s.sheet);
    s.built = new item_list_view(built, selection::ExtendedSelection, s.lower);
    s.built->setToolTip("Each waypoint for shape appears here");
    s.waypoints = new item_list_view(waypoints, selection::SingleSelection, s.lower);
    s.waypoints->setToolTip("Click on waypoint here to add to shape");
    s.lower->addWidget(s.built);
    s.lower->addWidget(s.waypoints);
    s.lower->setStretchFactor(0, 1);
    s.lower->setStretchFactor(1, 2);  // the waypoints are the longer list
    sheet_column->addWidget(s.lower, 1);
    return s;
}

} // namespace

void Tmap_form::build_panels()
{
    map_form_controls& ui = ui_;
    ui.map_panel = new QWidget(this);
    setCentralWidget(ui.map_panel);
    QVBoxLayout* outer = column(ui.map_panel, 0);
    outer->setSpacing(0);

    ui.toolbar_panel = new QWidget(ui.map_panel);
    ui.toolbar_panel->setFixedHeight(toolbar_panel_height + 4);
    auto* strips = new QHBoxLayout(ui.toolbar_panel);
    strips->setContentsMargins(0, 0, 0, 0);
    strips->setSpacing(0);
    ui.main_toolbar = tool_strip(ui.toolbar_panel, "main_toolbar");
    ui.right_toolbar = tool_strip(ui.toolbar_panel, "right_toolbar");
    ui.points_toolbar = tool_strip(ui.toolbar_panel, "points_toolbar");
    strips->addWidget(ui.main_toolbar);
    strips->addStretch(1);
    strips->addWidget(ui.right_toolbar);
    strips->addWidget(ui.points_toolbar);
    outer->addWidget(ui.toolbar_panel);

    auto* body = new QWidget(ui.map_panel);
    auto* columns = new QHBoxLayout(body);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    outer->addWidget(body, 1);

    // The surface is placed by hand inside the draw panel: the projection
    // decides its size and position.
    ui.draw_panel = new QWidget(body);
    ui.draw_panel->setMinimumSize(50, 50);
    ui.draw_panel->installEventFilter(this);
    ui.shape_window = new map_surface(state, doc, ui.draw_panel);
    columns->addWidget(ui.draw_panel, 1);

    ui.source_panel = new QWidget(body);
    ui.source_panel->setFixedWidth(source_panel_width);
    column(ui.source_panel, 0);
    ui.map_control = new QTabWidget(ui.source_panel);
    // All four tab captions fit across the panel's fixed width.
    ui.map_control->setStyleSheet("QTabBar::tab { padding: 3px 7px; }");
    ui.map_control->setUsesScrollButtons(false);
    ui.source_panel->layout()->addWidget(ui.map_control);
    columns->addWidget(ui.source_panel);

    ui.shapes_sheet = new QWidget(ui.map_control);
    column(ui.shapes_sheet);
    ui.shape_panel = new QWidget(ui.shapes_sheet);
    ui.shapes_sheet->layout()->addWidget(ui.shape_panel);
    QVBoxLayout* shape_column = column(ui.shape_panel, 0);
    ui.shape_edit = edit_box(ui.shape_panel, "Edit shapes name here");
    ui.shape_list = new item_list_view(doc.shape_list, selection::ExtendedSelection, ui.shape_panel);
    ui.shape_list->setToolTip("Right click on shape to change it's name");
    shape_column->addWidget(ui.shape_edit);
    shape_column->addWidget(ui.shape_list, 1);
    ui.map_control->addTab(ui.shapes_sheet, "Shapes");

    ui.waypoints_sheet = make_build_sheet(ui.map_control, doc.class_list, editor.shape_builder().entries(),
                                          doc.waypoints_list);
    ui.map_control->addTab(ui.waypoints_sheet.sheet, "Waypoints");
    ui.points_sheet = make_build_sheet(ui.map_control, doc.points_class_list, editor.set_builder().entries(),
                                       editor.waypoints_set_list());
    ui.map_control->addTab(ui.points_sheet.sheet, "Points");

    ui.error_sheet = new QWidget(ui.map_control);
    column(ui.error_sheet);
    ui.error_list = new item_list_view(doc.error_list, selection::SingleSelection, ui.error_sheet);
    ui.error_sheet->layout()->addWidget(ui.error_list);
    ui.map_control->addTab(ui.error_sheet, "Error");

    ui.map_control->setCurrentIndex(shapes_tab);
}

} // namespace wayloom
