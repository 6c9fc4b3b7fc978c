// The offscreen GUI application that the drawing commands' text needs.
#pragma once

#include <QGuiApplication>

#include <memory>

namespace wayloom::cli {

// Text needs the font database of a GUI application. No display is used,
// and the platform's notes about its surroundings are not for the user: only
// critical messages reach standard error, as "error: " lines.
class offscreen_application {
public:
    offscreen_application();
    ~offscreen_application();

private:
    int argc_ = 1;
    char name_[12] = "wayloom-cli";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> application_;
};

} // namespace wayloom::cli
