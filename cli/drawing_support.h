// What the drawing commands (render, legend) share: comma lists, and the
// offscreen GUI application that text drawing needs.
#pragma once

#include <QGuiApplication>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wayloom::cli {

// "a,b,c" as its parts; an empty text is one empty part.
std::vector<std::string> split_commas(std::string_view text);

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
