#include "cli/drawing_support.h"

#include <iostream>

namespace wayloom::cli {

offscreen_application::offscreen_application()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << "error: " << text.toStdString() << '\n';
    });
    application_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

offscreen_application::~offscreen_application() = default;

} // namespace wayloom::cli
