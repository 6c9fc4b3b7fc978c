// wayloom: the main window on a map named on the command line, or on none.
#include "app/about_box.h"
#include "app/map_form.h"
#include "app/program_paths.h"

#include <QApplication>
#include <QPointer>
#include <QStringList>

#include <cstdlib>
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

    wayloom::startup_options options;
    if (const auto problem = wayloom::parse_command_line(
            arguments, std::getenv("WAYLOOM_HOME"),
            QCoreApplication::applicationDirPath().toStdString(), options)) {
        std::cerr << "wayloom: " << *problem << "\nusage: wayloom [--home DIR] [--gps-port PORT] [MAP | debug] | --version\n";
        return 2;
    }

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
