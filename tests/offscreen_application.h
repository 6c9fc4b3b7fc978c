// Painting with Qt needs an application object: the GoogleTest programs and
// the benchmarks that paint start one here, on the offscreen platform, once.
#pragma once

#include <QGuiApplication>

namespace wayloom::testing {

inline void start_offscreen_application()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "wayloom_painting";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

} // namespace wayloom::testing
