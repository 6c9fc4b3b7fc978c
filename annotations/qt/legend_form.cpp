#include "annotations/qt/legend_form.h"

#include "annotations/qt/legend_painter.h"
#include "model/map_document.h"
#include "view/map_painter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QEvent>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace wayloom {

namespace {

// The preview's box on the window; a larger legend scrolls inside it.
constexpr int preview_width = 211, preview_height = 329;

QToolButton* arrow_button(QWidget* parent, Qt::ArrowType arrow, const char* name)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setObjectName(name);
    button->setAutoRepeat(true);
    return button;
}

} // namespace

Tlegend_form::Tlegend_form(map_document& doc, const view_state& view, QWidget* canvas,
                           QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), doc_(doc), view_(view),
      canvas_(canvas)
{
    setObjectName("legend_form");
    setWindowTitle("legend_form");
    choose_colour = [this](colour_value start) -> std::optional<colour_value> {
        const QColor chosen = QColorDialog::getColor(to_qcolor(start), this);
        if (!chosen.isValid()) return std::nullopt;
        return make_colour(chosen.red(), chosen.green(), chosen.blue());
    };
    choose_font = [this](const QFont& start) -> std::optional<QFont> {
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, start, this);
        return ok ? std::optional<QFont>(font) : std::nullopt;
    };

    auto* whole = new QGridLayout(this);
    whole->setContentsMargins(6, 6, 6, 6);

    auto* classification_box = new QGroupBox("Classification", this);
    auto* classification_column = new QVBoxLayout(classification_box);
    classification_group = new QButtonGroup(this);
    classes_radio = new QRadioButton("Classes", classification_box);
    shapes_radio = new QRadioButton("Shapes", classification_box);
    classification_group->addButton(classes_radio, 0);
    classification_group->addButton(shapes_radio, 1);
    classes_radio->setChecked(true);
    classification_column->addWidget(classes_radio);
    classification_column->addWidget(shapes_radio);
    whole->addWidget(classification_box, 0, 0);

    shape_list_group = new QGroupBox("Shape List", this);
    auto* list_column = new QVBoxLayout(shape_list_group);
    shape_list_label = new QLabel("Items to include in legend", shape_list_group);
    legend_list = new QListWidget(shape_list_group);
    legend_list->setObjectName("legend_list");
    legend_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_column->addWidget(shape_list_label);
    list_column->addWidget(legend_list);
    whole->addWidget(shape_list_group, 1, 0, 2, 1);

    placement_group = new QGroupBox("Placement", this);
    auto* placement = new QGridLayout(placement_group);
    plonk_button = new QPushButton("Plonk", placement_group);
    plonk_button->setCheckable(true);
    up_button = arrow_button(placement_group, Qt::UpArrow, "up_button");
    left_button = arrow_button(placement_group, Qt::LeftArrow, "left_button");
    right_button = arrow_button(placement_group, Qt::RightArrow, "right_button");
    down_button = arrow_button(placement_group, Qt::DownArrow, "down_button");
    step_edit = new QLineEdit("1", placement_group);
    step_edit->setMaximumWidth(48);
    save_legend_button = new QPushButton("Save", placement_group);
    placement->addWidget(plonk_button, 0, 0, 1, 3);
    placement->addWidget(up_button, 1, 1);
    placement->addWidget(left_button, 2, 0);
    placement->addWidget(step_edit, 2, 1);
    placement->addWidget(right_button, 2, 2);
    placement->addWidget(down_button, 3, 1);
    placement->addWidget(save_legend_button, 4, 0, 1, 3);
    whole->addWidget(placement_group, 0, 1, 2, 1);

    font_group = new QGroupBox("Font Details", this);
    auto* font_column = new QVBoxLayout(font_group);
    font_button = new QPushButton("Select Font", font_group);
    font_size_label = new QLabel("Font Size", font_group);
    font_size_edit = new QLineEdit("10", font_group);
    font_test_edit = new QLineEdit("Type example text here", font_group);
    change_colour_check = new QCheckBox("Change colour", font_group);
    change_colour_button = new QPushButton("Change", font_group);
    change_colour_button->setEnabled(false);
    update_button = new QPushButton("Update", font_group);
    for (QWidget* w : std::initializer_list<QWidget*>{font_button, font_size_label, font_size_edit,
                                                      font_test_edit, change_colour_check,
                                                      change_colour_button, update_button})
        font_column->addWidget(w);
    whole->addWidget(font_group, 2, 1);

    legend_display_panel = new QGroupBox("Legend", this);
    legend_display_panel->setFixedSize(preview_width + 12, preview_height + 24);
    auto* preview_column = new QVBoxLayout(legend_display_panel);
    preview_column->setContentsMargins(4, 4, 4, 4);
    legend_scroll = new QScrollArea(legend_display_panel);
    legend_paintbox = new QWidget();
    legend_paintbox->setObjectName("legend_paintbox");
    legend_paintbox->installEventFilter(this);
    legend_paintbox->resize(1, 1);
    legend_scroll->setWidget(legend_paintbox);
    preview_column->addWidget(legend_scroll);
    whole->addWidget(legend_display_panel, 0, 2, 3, 1);

    connect(classification_group, &QButtonGroup::idClicked, this,
            &Tlegend_form::classification_groupClick);
    connect(legend_list, &QListWidget::itemSelectionChanged, this, &Tlegend_form::take_selection);
    connect(plonk_button, &QPushButton::clicked, this, &Tlegend_form::plonk_buttonClick);
    connect(up_button, &QToolButton::clicked, this, [this] { nudge(nudge_direction::up); });
    connect(left_button, &QToolButton::clicked, this, [this] { nudge(nudge_direction::left); });
    connect(right_button, &QToolButton::clicked, this, [this] { nudge(nudge_direction::right); });
    connect(down_button, &QToolButton::clicked, this, [this] { nudge(nudge_direction::down); });
    connect(step_edit, &QLineEdit::textEdited, this, &Tlegend_form::step_editChange);
    connect(save_legend_button, &QPushButton::clicked, this, [this] { legend_draw(true); });
    connect(font_button, &QPushButton::clicked, this, &Tlegend_form::font_buttonClick);
    connect(update_button, &QPushButton::clicked, this, &Tlegend_form::update_buttonClick);
    connect(change_colour_check, &QCheckBox::clicked, this, &Tlegend_form::change_colour_checkClick);
    connect(change_colour_button, &QPushButton::clicked, this,
            &Tlegend_form::change_colour_buttonClick);
    font_test_edit->installEventFilter(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void Tlegend_form::analyse()
{
    wayloom::analyse(legend, doc_);
    fill_list();
}

void Tlegend_form::fill_list()
{
    filling_list_ = true;
    legend_list->clear();
    for (const legend_list_item& item : legend.legend_list)
        legend_list->addItem(QString::fromStdString(item.text));
    filling_list_ = false;
}

void Tlegend_form::take_selection()
{
    if (filling_list_) return;
    for (int row = 0; row < legend_list->count(); ++row)
        if (static_cast<std::size_t>(row) < legend.legend_list.size())
            legend.legend_list[static_cast<std::size_t>(row)].selected = legend_list->item(row)->isSelected();
}

void Tlegend_form::update_legend()
{
    update_legend_on(legend, doc_, canvas_);
    size_preview();
}

void Tlegend_form::size_preview()
{
    if (legend.count() > 0) legend_paintbox->resize(legend.layout.width, legend.layout.height);
    legend_paintbox->update();
}

void Tlegend_form::legend_draw(bool save)
{
    if (legend.count() == 0) update_legend();
    if (legend.count() > 0) {
        size_preview();
        if (save && export_bitmap)
            export_bitmap(legend_image(legend, view_.background), legend.layout.width,
                          legend.layout.height, "new-legend.bmp");
    }
    legend_paintbox->update();
}

void Tlegend_form::draw_on_map(QPainter& painter)
{
    if (isVisible() && !legend.busy) legend_paintbox->update();
    if (legend.on_map && legend.count() > 0)
        draw_legend(painter, legend, legend.x, legend.y, view_.background);
}

void Tlegend_form::load_settings(const setting_reader& read)
{
    load_legend_settings(legend, read);
}

void Tlegend_form::save_settings(const setting_writer& write) const
{
    save_legend_settings(legend, write);
}

void Tlegend_form::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    analyse();
    if (!legend.busy) legend_draw(false);
}

bool Tlegend_form::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == legend_paintbox && event->type() == QEvent::Paint) {
        QPainter painter(legend_paintbox);
        painter.fillRect(legend_paintbox->rect(), palette().color(QPalette::Button));
        if (legend.count() > 0) draw_legend(painter, legend, 0, 0, view_.background);
        return true;
    }
    if (watched == font_test_edit && event->type() == QEvent::FocusIn && chosen_font_)
        font_test_edit->setFont(*chosen_font_);  // font_test_editChange
    return QWidget::eventFilter(watched, event);
}

void Tlegend_form::classification_groupClick(int id)
{
    legend.classification = id == 0 ? legend_classification::classes : legend_classification::shapes;
    analyse();
}

void Tlegend_form::plonk_buttonClick()
{
    const plonk_result result = plonk(legend, doc_, legend_measure(legend.font, canvas_));
    plonk_button->setChecked(result.button_down);
    size_preview();
    if (result.resize) emit resize_map();
    else emit repaint_map();
}

void Tlegend_form::nudge(nudge_direction direction)
{
    if (nudge_legend(legend, doc_, direction, view_.fit_width, view_.fit_height)) emit repaint_map();
}

void Tlegend_form::step_editChange(const QString& text)
{
    if (const std::optional<std::string> shown = step_edit_change(legend, text.toStdString()))
        step_edit->setText(QString::fromStdString(*shown));
}

void Tlegend_form::font_buttonClick()
{
    const std::optional<QFont> font = choose_font(legend_qfont(legend.font, font_test_edit->font()));
    if (!font) return;
    chosen_font_ = *font;
    legend.font.bold = exactly_bold({font->weight() == QFont::Bold, font->italic(), font->underline(),
                                     font->strikeOut()});
    legend.font.name = font->family().toStdString();
    legend.font.size = font->pointSize();
    font_size_edit->setText(QString::number(legend.font.size));
    update_legend();
    emit repaint_map();
}

void Tlegend_form::update_buttonClick()
{
    legend.font.size = font_size_from_text(font_size_edit->text().toStdString());
    update_legend();
    emit repaint_map();
}

void Tlegend_form::change_colour_checkClick()
{
    const bool enable = change_colour_check->isChecked();
    if (change_colour_button->isEnabled() == enable) return;
    change_colour_button->setEnabled(enable);
    update_legend();
}

void Tlegend_form::change_colour_buttonClick()
{
    const std::optional<colour_value> colour = choose_colour(grey);
    if (!colour) return;
    if (change_colour(legend, doc_, *colour)) emit map_changed();
    update_legend();
    emit repaint_map();
}

} // namespace wayloom
