#include "statistics/qt/statistics_form.h"

#include "model/map_document.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace wayloom {

namespace {

constexpr const char* report_name = "statistics.txt";
constexpr int report_columns = 56;

// Shows the report file by its address as the plain text it is: its lines
// kept, nothing in it taken for markup, and a line longer than the viewer
// is wide carried on below rather than cut at its edge.
class report_viewer : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override
    {
        const QVariant loaded = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::HtmlResource || !loaded.isValid()) return loaded;
        const QString text = QString::fromLatin1(loaded.toByteArray()).remove('\r');
        return QString("<pre style=\"white-space: pre-wrap\">" + text.toHtmlEscaped() + "</pre>");
    }
};

} // namespace

Tstatistics_form::Tstatistics_form(map_document& doc, const measurement& units,
                                   std::string program_directory, desktop services,
                                   QWidget* parent)
    : QDialog(parent), doc_(doc), units_(units), program_directory_(std::move(program_directory)),
      services_(std::move(services))
{
    setObjectName("statistics_form");
    setWindowTitle("statistics_form");
    setModal(false);
    auto* columns = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    classification_group_ = new QGroupBox("Classification", this);
    auto* kinds = new QHBoxLayout(classification_group_);
    classes_item_ = new QRadioButton("Classes", classification_group_);
    shapes_item_ = new QRadioButton("Shapes", classification_group_);
    shapes_item_->setChecked(true);
    kinds->addWidget(classes_item_);
    kinds->addWidget(shapes_item_);
    left->addWidget(classification_group_);

    auto* list_group = new QGroupBox("Shape List", this);
    auto* list_column = new QVBoxLayout(list_group);
    list_column->addWidget(new QLabel("Items to include in area", list_group));
    shapes_list_ = new QListWidget(list_group);
    shapes_list_->setSelectionMode(QAbstractItemView::MultiSelection);
    list_column->addWidget(shapes_list_, 1);
    list_column->addWidget(new QLabel("Perimeter Shape", list_group));
    perimeter_shape_combo_ = new QComboBox(list_group);
    list_column->addWidget(perimeter_shape_combo_);
    ellipsoidal_check_ = new QCheckBox("Ellipsoidal areas", list_group);
    ellipsoidal_check_->setEnabled(static_cast<bool>(services_.ellipsoidal_area));
    list_column->addWidget(ellipsoidal_check_);
    auto* buttons = new QHBoxLayout;
    process_button_ = new QPushButton("Process", list_group);
    save_button_ = new QPushButton("Save", list_group);
    buttons->addWidget(process_button_);
    buttons->addWidget(save_button_);
    list_column->addLayout(buttons);
    left->addWidget(list_group, 1);
    columns->addLayout(left);

    auto* report_group = new QGroupBox("Stastics", this);
    auto* report_column = new QVBoxLayout(report_group);
    statistics_browser_ = new report_viewer(report_group);
    // Wide enough for a report line of the usual length in the viewer's
    // fixed font; a longer one wraps.
    const QFontMetrics fixed(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    statistics_browser_->setMinimumSize(std::max(360, fixed.horizontalAdvance(QString(report_columns, '0')) + 24), 300);
    report_column->addWidget(statistics_browser_);
    columns->addWidget(report_group, 1);

    const std::pair<QObject*, const char*> names[] = {
        {classification_group_, "classification_group"}, {classes_item_, "classes_item"},
        {shapes_item_, "shapes_item"},                   {shapes_list_, "shapes_list"},
        {perimeter_shape_combo_, "perimeter_shape_combo"}, {process_button_, "process_button"},
        {save_button_, "save_button"},                   {ellipsoidal_check_, "ellipsoidal_check"},
        {statistics_browser_, "statistics_browser"},
    };
    for (const auto& [object, name] : names) object->setObjectName(name);

    for (QRadioButton* kind : {classes_item_, shapes_item_})
        connect(kind, &QRadioButton::clicked, this, [this] {
            mode_ = classes_item_->isChecked() ? report_mode::classes : report_mode::shapes;
            analyse();
        });
    connect(perimeter_shape_combo_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && static_cast<std::size_t>(index) < perimeters_.size())
            perimeter_ = perimeters_[static_cast<std::size_t>(index)];
    });
    connect(process_button_, &QPushButton::clicked, this, [this] {
        if (doc_.statistics_ready) show_results(report_name);
    });
    connect(save_button_, &QPushButton::clicked, this, [this] {
        if (doc_.statistics_ready) show_results({});
    });
}

void Tstatistics_form::load_settings(const setting_reader& read)
{
    ellipsoidal_check_->setChecked(ellipsoidal_check_->isEnabled() && read("ellipsoidal").value_or("0") == "1");
}

void Tstatistics_form::save_settings(const setting_writer& write) const
{
    write("ellipsoidal", ellipsoidal_check_->isChecked() ? "1" : "0");
}

void Tstatistics_form::showEvent(QShowEvent* event)
{
    analyse();
    QDialog::showEvent(event);
}

void Tstatistics_form::analyse()
{
    doc_.statistics_ready = false;
    shapes_list_->clear();
    perimeter_shape_combo_->clear();
    entries_.clear();
    perimeters_.clear();
    perimeter_ = nullptr;
    if (doc_.shapes.empty()) return;
    if (doc_.shape_list.empty() || (mode_ == report_mode::classes && doc_.class_list.empty())) {
        doc_.statistics_ready = true;
        return;
    }
    perimeter_ = doc_.shapes.front().get();
    for (const auto& shape : doc_.shapes) {
        perimeter_shape_combo_->addItem(QString::fromStdString(shape->name));
        perimeters_.push_back(shape.get());
        if (mode_ == report_mode::shapes) {
            shapes_list_->addItem(QString::fromStdString(shape->name));
            entries_.push_back(shape.get());
        }
    }
    if (mode_ == report_mode::classes)
        for (const auto& cls : doc_.classes) {
            shapes_list_->addItem(QString::fromStdString(cls->name));
            entries_.push_back(cls.get());
        }
    // The first shape is the perimeter, but the box shows no choice yet.
    perimeter_shape_combo_->setCurrentIndex(-1);
    doc_.statistics_ready = true;
}

report_choice Tstatistics_form::choice() const
{
    report_choice c;
    c.perimeter = perimeter_;
    c.mode = mode_;
    c.unit = units_.choice;
    for (int row = 0; row < shapes_list_->count(); ++row) {
        if (!shapes_list_->item(row)->isSelected()) continue;
        const void* entry = entries_[static_cast<std::size_t>(row)];
        if (mode_ == report_mode::shapes) c.shapes.push_back(static_cast<const t_shape*>(entry));
        else c.classes.push_back(static_cast<const t_class*>(entry));
    }
    if (ellipsoidal_check_->isChecked()) c.ellipsoidal_area = services_.ellipsoidal_area;
    return c;
}

bool Tstatistics_form::show_results(const std::string& file_name)
{
    if (!perimeter_) return false;
    std::string path = program_directory_ + (file_name.empty() ? report_name : file_name);
    if (file_name.empty() && services_.choose_file)
        if (const std::optional<std::string> chosen = services_.choose_file()) path = *chosen;
    const std::string text = report_text(report_lines(doc_, choice()));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) out << text;
    if (out) out.close();
    if (!out) {
        const std::string reason = std::strerror(errno);
        if (services_.error_box) services_.error_box("Cannot create file \"" + path + "\". " + reason);
        return false;
    }
    statistics_browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
    statistics_browser_->reload();
    return true;
}

} // namespace wayloom
