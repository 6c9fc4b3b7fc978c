#include "app/form_services.h"

#include "app/print_dialog.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

namespace wayloom {

namespace {

// "Windows bitmap [bmp]|*.bmp" as the Qt dialog writes it: "Windows bitmap [bmp] (*.bmp)".
QString qt_filter(const std::string& filter)
{
    const auto bar = filter.find('|');
    const std::string pattern = bar == std::string::npos ? "*" : filter.substr(bar + 1);
    return QString::fromStdString(filter_description(filter)) + " (" +
           QString::fromStdString(pattern).replace(';', ' ') + ")";
}

std::optional<save_choice> run_save_dialog(QWidget* window, const save_request& request)
{
    QFileDialog dialog(window);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(QString::fromStdString(request.directory));
    QStringList filters;
    for (const std::string& f : request.filters) filters << qt_filter(f);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QString::fromStdString(request.default_extension));
    // The extension added to a bare name follows the filter the user picks.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& chosen) {
        const auto index = static_cast<std::size_t>(filters.indexOf(chosen));
        if (index < request.filters.size())
            dialog.setDefaultSuffix(QString::fromStdString(filter_extension(request.filters[index])));
    });
    dialog.selectFile(QString::fromStdString(request.file_name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    save_choice choice;
    choice.file_name = dialog.selectedFiles().front().toStdString();
    const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
    choice.filter = index < 0 ? 0 : static_cast<std::size_t>(index);
    return choice;
}

} // namespace

form_services with_desktop_defaults(form_services services, QWidget* window)
{
    if (!services.open_file)
        services.open_file = [window](const std::string& directory) -> std::optional<std::string> {
            const QString chosen =
                QFileDialog::getOpenFileName(window, QString(), QString::fromStdString(directory));
            if (chosen.isEmpty()) return std::nullopt;
            return chosen.toStdString();
        };
    if (!services.open_file_of_type)
        services.open_file_of_type = [window](const std::string& directory,
                                              const std::string& filter) -> std::optional<std::string> {
            const QString chosen = QFileDialog::getOpenFileName(
                window, QString(), QString::fromStdString(directory), qt_filter(filter));
            if (chosen.isEmpty()) return std::nullopt;
            return chosen.toStdString();
        };
    if (!services.pick_folder)
        services.pick_folder = [window](const std::string& directory,
                                        const std::string& caption) -> std::optional<std::string> {
            const QString chosen = QFileDialog::getExistingDirectory(window, QString::fromStdString(caption),
                                                                     QString::fromStdString(directory));
            if (chosen.isEmpty()) return std::nullopt;
            return chosen.toStdString();
        };
    if (!services.save_file)
        services.save_file = [window](const save_request& request) {
            return run_save_dialog(window, request);
        };
    if (!services.error_box)
        services.error_box = [window](const std::string& message) {
            QMessageBox::critical(window, "Error", QString::fromStdString(message), QMessageBox::Ok);
        };
    if (!services.open_url)
        services.open_url = [](const std::string& address) {
            return QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
        };
    if (!services.ask_save_changes)
        services.ask_save_changes = [window] {
            const auto answer = QMessageBox::question(
                window, "Wayloom", QString::fromUtf8(save_changes_question.data(), save_changes_question.size()),
                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
            if (answer == QMessageBox::Save) return save_answer::save;
            if (answer == QMessageBox::Discard) return save_answer::discard;
            return save_answer::cancel;
        };
    if (!services.choose_colour)
        services.choose_colour = [window](colour_value start) -> std::optional<colour_value> {
            const QColor chosen = QColorDialog::getColor(
                QColor(int(red_of(start)), int(green_of(start)), int(blue_of(start))), window);
            if (!chosen.isValid()) return std::nullopt;
            return make_colour(static_cast<std::uint32_t>(chosen.red()),
                               static_cast<std::uint32_t>(chosen.green()),
                               static_cast<std::uint32_t>(chosen.blue()));
        };
    if (!services.print_dialog)
        services.print_dialog = [window](QPrinter& printer, const std::string& scale) {
            return ask_print(printer, scale, window);
        };
    if (!services.quit) services.quit = [] { QCoreApplication::exit(0); };
    return services;
}

} // namespace wayloom
