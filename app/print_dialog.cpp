#include "app/print_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QPrintDialog>
#include <QPrinter>

namespace wayloom {

std::optional<std::string> ask_print(QPrinter& printer, const std::string& scale, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    // Owned by the dialog once it is one of its tabs.
    auto* page = new QWidget;
    page->setWindowTitle("Scale");
    auto* field = new QComboBox(page);
    field->setEditable(true);
    for (const char* offered : offered_scales) field->addItem(offered);
    field->setCurrentText(QString::fromStdString(scale));
    field->setToolTip("1:N puts N lengths on the ground in one on paper; fit to page fills the paper");
    auto* layout = new QFormLayout(page);
    layout->addRow("Scale", field);
    dialog.setOptionTabs({page});
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return field->currentText().toStdString();
}

} // namespace wayloom
