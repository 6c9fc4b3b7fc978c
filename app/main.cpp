// wayloom: the main window on a map named on the command line, or on none.
#include "app/about_box.h"
#include "app/map_form.h"
#include "app/program_paths.h"

#include <QApplication>
#include <QPointer>
#include <QStringList>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

int main(int argc, char** argv)
{
    // Answered before Qt starts, so that it works without a display.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::cout << "wayloom " << WAYLOOM_VERSION << '\n';
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("Wayloom");

    // Qt has taken its own options (-platform and the like) out already.
    std::vector<std::string> arguments;
    const QStringList given = QApplication::arguments();
    for (qsizetype i = 1; i < given.size(); ++i) arguments.push_back(given[i].toStdString());

    // An installed program keeps its settings in the user's folder, not
    // beside itself, and finds its manual under its prefix.
    const std::string executable_directory = QCoreApplication::applicationDirPath().toStdString();
    const char* home = std::getenv("WAYLOOM_HOME");
    std::string user_directory;
    if ((!home || !*home) && wayloom::runs_installed(executable_directory)) {
        user_directory = wayloom::user_program_directory(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
        std::error_code ec;
        std::filesystem::create_directories(user_directory, ec);
        home = user_directory.c_str();
    }
    wayloom::startup_options options;
    if (const auto problem = wayloom::parse_command_line(arguments, home, executable_directory, options)) {
        std::cerr << "wayloom: " << *problem << "\nusage: wayloom [--home DIR] [--gps-port PORT] [MAP | debug] | --version\n";
        return 2;
    }
    options.executable_directory = wayloom::shipped_directory(executable_directory);

    // The splash shows while the windows are created and stays until its
    // timer or a click closes it; it never keeps the program running.
    QPointer<wayloom::TAboutBox> splash = new wayloom::TAboutBox();
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->setAttribute(Qt::WA_QuitOnClose, false);
    splash->repaint();
    QApplication::processEvents();

    wayloom::Tmap_form map_form(std::move(options));
    map_form.show();
    if (splash) splash->raise();  // above the main window, unless clicked away already
    const int code = application.exec();
    delete splash;
    return code;
}
