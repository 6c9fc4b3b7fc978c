// Feeds arbitrary bytes as map text through everything that follows a read
// in the window: the area estimate, the longitude correction, the projection
// of every item into a small panel and the painting onto an image. This
// reaches the drawing arithmetic with every size, position and colour the
// reader accepts.
#include "source/reader.h"
#include "view/geometry/map_refresh.h"
#include "view/geometry/projection.h"
#include "view/map_painter.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Text needs the font database of a GUI application; no display is used.
// It lives until the process ends: Qt's own clean-up at exit would run after
// parts of it are gone.
QGuiApplication* application = nullptr;
int argc = 1;
char name[] = "fuzz_paint";
char* argv[] = {name, nullptr};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    application = new QGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace wayloom;
    view_state state;
    state.avail_width = 96;
    state.avail_height = 72;
    state.set_map_border(2);
    map_document doc;
    doc.source.set_text(std::string(reinterpret_cast<const char*>(data), size));
    read_from_file(doc, view_after_read(state));

    for (list_entry& entry : doc.shape_list.entries) entry.selected = true;
    resize_window(state, doc.shape_list);
    const QImage image = render_map(state, doc.shape_list);
    if (image.isNull() || image.width() > state.avail_width || image.height() > state.avail_height) std::abort();
    return 0;
}
