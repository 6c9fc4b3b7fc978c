#include "cli/drawing_support.h"

#include <iostream>

namespace wayloom::cli {

std::vector<std::string> split_commas(std::string_view text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        parts.emplace_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return parts;
}

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
