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
    classification_group_ = new QButtonGroup(this);
    classes_radio_ = new QRadioButton("Classes", classification_box);
    shapes_radio_ = new QRadioButton("Shapes", classification_box);
    classification_group_->addButton(classes_radio_, 0);
    classification_group_->addButton(shapes_radio_, 1);
    classes_radio_->setChecked(true);
    classification_column->addWidget(classes_radio_);
    classification_column->addWidget(shapes_radio_);
    whole->addWidget(classification_box, 0, 0);

    auto* shape_list_group = new QGroupBox("Shape List", this);
    auto* list_column = new QVBoxLayout(shape_list_group);
    auto* shape_list_label = new QLabel("Items to include in legend", shape_list_group);
    legend_list_ = new QListWidget(shape_list_group);
    legend_list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_column->addWidget(shape_list_label);
    list_column->addWidget(legend_list_);
    whole->addWidget(shape_list_group, 1, 0, 2, 1);

    auto* placement_group = new QGroupBox("Placement", this);
    auto* placement = new QGridLayout(placement_group);
    plonk_button_ = new QPushButton("Plonk", placement_group);
    plonk_button_->setCheckable(true);
    up_button_ = arrow_button(placement_group, Qt::UpArrow, "up_button");
    left_button_ = arrow_button(placement_group, Qt::LeftArrow, "left_button");
    right_button_ = arrow_button(placement_group, Qt::RightArrow, "right_button");
    down_button_ = arrow_button(placement_group, Qt::DownArrow, "down_button");
    step_edit_ = new QLineEdit("1", placement_group);
    step_edit_->setMaximumWidth(48);
    save_legend_button_ = new QPushButton("Save", placement_group);
    placement->addWidget(plonk_button_, 0, 0, 1, 3);
    placement->addWidget(up_button_, 1, 1);
    placement->addWidget(left_button_, 2, 0);
    placement->addWidget(step_edit_, 2, 1);
    placement->addWidget(right_button_, 2, 2);
    placement->addWidget(down_button_, 3, 1);
    placement->addWidget(save_legend_button_, 4, 0, 1, 3);
    whole->addWidget(placement_group, 0, 1, 2, 1);

    auto* font_group = new QGroupBox("Font Details", this);
    auto* font_column = new QVBoxLayout(font_group);
    font_button_ = new QPushButton("Select Font", font_group);
    auto* font_size_label = new QLabel("Font Size", font_group);
    font_size_edit_ = new QLineEdit("10", font_group);
    font_test_edit_ = new QLineEdit("Type example text here", font_group);
    font_test_edit_->setCursorPosition(0);  // the sample opens at its start
    change_colour_check_ = new QCheckBox("Change colour", font_group);
    change_colour_button_ = new QPushButton("Change", font_group);
    change_colour_button_->setEnabled(false);
    update_button_ = new QPushButton("Update", font_group);
    for (QWidget* w : std::initializer_list<QWidget*>{font_button_, font_size_label, font_size_edit_,
                                                      font_test_edit_, change_colour_check_,
                                                      change_colour_button_, update_button_})
        font_column->addWidget(w);
    whole->addWidget(font_group, 2, 1);

    auto* legend_display_panel = new QGroupBox("Legend", this);
    legend_display_panel->setFixedSize(preview_width + 12, preview_height + 24);
    auto* preview_column = new QVBoxLayout(legend_display_panel);
    preview_column->setContentsMargins(4, 4, 4, 4);
    legend_scroll_ = new QScrollArea(legend_display_panel);
    legend_paintbox_ = new QWidget();
    legend_paintbox_->installEventFilter(this);
    legend_paintbox_->resize(1, 1);
    legend_scroll_->setWidget(legend_paintbox_);
    preview_column->addWidget(legend_scroll_);
    whole->addWidget(legend_display_panel, 0, 2, 3, 1);

    const std::pair<QObject*, const char*> names[] = {
        {classes_radio_, "classes_radio"},   {shapes_radio_, "shapes_radio"},
        {legend_list_, "legend_list"},       {plonk_button_, "plonk_button"},
        {step_edit_, "step_edit"},           {save_legend_button_, "save_legend_button"},
        {font_button_, "font_button"},       {font_size_edit_, "font_size_edit"},
        {font_test_edit_, "font_test_edit"}, {change_colour_check_, "change_colour_check"},
        {change_colour_button_, "change_colour_button"}, {update_button_, "update_button"},
        {legend_scroll_, "legend_scroll"},   {legend_paintbox_, "legend_paintbox"},
    };
    for (const auto& [object, name] : names) object->setObjectName(name);

    connect(classification_group_, &QButtonGroup::idClicked, this,
            &Tlegend_form::classification_groupClick);
    connect(legend_list_, &QListWidget::itemSelectionChanged, this, &Tlegend_form::take_selection);
    connect(plonk_button_, &QPushButton::clicked, this, &Tlegend_form::plonk_buttonClick);
    connect(up_button_, &QToolButton::clicked, this, [this] { nudge(nudge_direction::up); });
    connect(left_button_, &QToolButton::clicked, this, [this] { nudge(nudge_direction::left); });
    connect(right_button_, &QToolButton::clicked, this, [this] { nudge(nudge_direction::right); });
    connect(down_button_, &QToolButton::clicked, this, [this] { nudge(nudge_direction::down); });
    connect(step_edit_, &QLineEdit::textEdited, this, &Tlegend_form::step_editChange);
    connect(save_legend_button_, &QPushButton::clicked, this, [this] { legend_draw(true); });
    connect(font_button_, &QPushButton::clicked, this, &Tlegend_form::font_buttonClick);
    connect(update_button_, &QPushButton::clicked, this, &Tlegend_form::update_buttonClick);
    connect(change_colour_check_, &QCheckBox::clicked, this, &Tlegend_form::change_colour_checkClick);
    connect(change_colour_button_, &QPushButton::clicked, this,
            &Tlegend_form::change_colour_buttonClick);
    font_test_edit_->installEventFilter(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void Tlegend_form::analyse()
{
    legend_items_changed(legend_, doc_, legend_measure(legend_.font, canvas_));
    fill_list();
    size_preview();
}

void Tlegend_form::fill_list()
{
    filling_list_ = true;
    legend_list_->clear();
    for (const legend_list_item& item : legend_.legend_list) {
        legend_list_->addItem(QString::fromStdString(item.text));
        legend_list_->item(legend_list_->count() - 1)->setSelected(item.selected);
    }
    filling_list_ = false;
}

void Tlegend_form::take_selection()
{
    if (filling_list_) return;
    for (int row = 0; row < legend_list_->count(); ++row)
        if (static_cast<std::size_t>(row) < legend_.legend_list.size())
            legend_.legend_list[static_cast<std::size_t>(row)].selected = legend_list_->item(row)->isSelected();
}

void Tlegend_form::update_legend()
{
    update_legend_on(legend_, doc_, canvas_);
    size_preview();
}

void Tlegend_form::size_preview()
{
    if (legend_.count() > 0) legend_paintbox_->resize(legend_.layout.width, legend_.layout.height);
    legend_paintbox_->update();
}

void Tlegend_form::legend_draw(bool save)
{
    if (legend_.count() == 0) update_legend();
    if (legend_.count() > 0) {
        size_preview();
        if (save && export_bitmap)
            export_bitmap(legend_image(legend_, view_.background), legend_.layout.width,
                          legend_.layout.height, "new-legend.bmp");
    }
    legend_paintbox_->update();
}

void Tlegend_form::draw_on_map(QPainter& painter)
{
    if (isVisible() && !legend_.busy) legend_paintbox_->update();
    if (legend_.on_map && legend_.count() > 0)
        draw_legend(painter, legend_, legend_.x, legend_.y, view_.background);
}

void Tlegend_form::load_settings(const setting_reader& read)
{
    load_legend_settings(legend_, read);
    step_edit_->setText(QString::number(legend_.step));
    font_size_edit_->setText(QString::number(legend_.font.size));
}

void Tlegend_form::save_settings(const setting_writer& write) const
{
    save_legend_settings(legend_, write);
}

void Tlegend_form::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    analyse();
    if (!legend_.busy) legend_draw(false);
}

bool Tlegend_form::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == legend_paintbox_ && event->type() == QEvent::Paint) {
        QPainter painter(legend_paintbox_);
        painter.fillRect(legend_paintbox_->rect(), palette().color(QPalette::Button));
        if (legend_.count() > 0) draw_legend(painter, legend_, 0, 0, view_.background);
        return true;
    }
    if (watched == font_test_edit_ && event->type() == QEvent::FocusIn && chosen_font_)
        font_test_edit_->setFont(*chosen_font_);  // font_test_editChange
    return QWidget::eventFilter(watched, event);
}

void Tlegend_form::classification_groupClick(int id)
{
    legend_.classification = id == 0 ? legend_classification::classes : legend_classification::shapes;
    analyse();
}

void Tlegend_form::plonk_buttonClick()
{
    const plonk_result result = plonk(legend_, doc_, legend_measure(legend_.font, canvas_));
    plonk_button_->setChecked(result.button_down);
    size_preview();
    if (result.resize) emit resize_map();
    else emit repaint_map();
}

void Tlegend_form::nudge(nudge_direction direction)
{
    if (nudge_legend(legend_, doc_, direction, view_.fit_width, view_.fit_height)) emit repaint_map();
}

void Tlegend_form::step_editChange(const QString& text)
{
    if (const std::optional<std::string> shown = step_edit_change(legend_, text.toStdString()))
        step_edit_->setText(QString::fromStdString(*shown));
}

void Tlegend_form::font_buttonClick()
{
    const std::optional<QFont> font = choose_font(legend_qfont(legend_.font, font_test_edit_->font()));
    if (!font) return;
    chosen_font_ = *font;
    legend_.font.bold = exactly_bold({font->weight() == QFont::Bold, font->italic(), font->underline(),
                                     font->strikeOut()});
    legend_.font.name = font->family().toStdString();
    legend_.font.size = legend_font_size(font->pointSize());
    font_size_edit_->setText(QString::number(legend_.font.size));
    update_legend();
    emit repaint_map();
}

void Tlegend_form::update_buttonClick()
{
    legend_.font.size = font_size_from_text(font_size_edit_->text().toStdString());
    font_size_edit_->setText(QString::number(legend_.font.size));  // the size in use
    update_legend();
    emit repaint_map();
}

void Tlegend_form::change_colour_checkClick()
{
    const bool enable = change_colour_check_->isChecked();
    if (change_colour_button_->isEnabled() == enable) return;
    change_colour_button_->setEnabled(enable);
    update_legend();
}

void Tlegend_form::change_colour_buttonClick()
{
    const std::optional<colour_value> colour = choose_colour(grey);
    if (!colour) return;
    emit map_changing();
    if (change_colour(legend_, doc_, *colour)) emit map_changed();
    update_legend();
    emit repaint_map();
}

} // namespace wayloom
