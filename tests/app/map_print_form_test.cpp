// New map, Print map and the vector export in the main window on the
// offscreen platform, with the dialogs and the question answered by the test.
#include "app/map_surface.h"
#include "view/map_painter.h"
#include "window_test_support.h"

#include <QPageLayout>

#include <filesystem>
#include <string>
#include <vector>

using namespace wayloom;
using namespace wayloom::testing;
namespace fs = std::filesystem;

namespace {

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

} // namespace

class map_print_form_test : public QObject, window_fixture {
    Q_OBJECT

private slots:
    void init() { fresh(); }

    // New map empties the map and forgets its file: Save proposes new.wlm
    // again and the page says "new". (The question before unsaved work is
    // dropped is map_editing_test's table.)
    void new_map_clears_the_map_and_its_file()
    {
        auto form = make_form(farm);
        desktop_.save_answers.push_back(save_choice{home() + "kept", 0});
        form->save_project();
        QCOMPARE(form->map_file().proposed_name(), std::string("kept.wlm"));
        button(ui(form).main_toolbar, "Create new map")->trigger();
        QCOMPARE(desktop_.questions, 0);  // nothing unsaved
        QVERIFY(form->map().empty());
        QCOMPARE(ui(form).shape_list->model()->rowCount(), 0);
        QCOMPARE(ui(form).waypoints_sheet.waypoints->model()->rowCount(), 0);
        QCOMPARE(form->map_file().proposed_name(), std::string("new.wlm"));
        QCOMPARE(form->map_file().map_title(), std::string("new"));
    }

    // The page goes to the printer's PDF file at the scale typed, and the
    // screen afterwards shows what it showed before.
    void print_at_a_scale()
    {
        auto form = make_form(farm);
        form->print_itemClick();  // nothing drawn yet
        QCOMPARE(desktop_.errors, std::vector<std::string>{empty_surface_hint});
        QVERIFY(desktop_.print_scales.empty());
        desktop_.errors.clear();
        select_all_items(*form);
        map_surface* surface = ui(form).shape_window;
        const surface_bounds before = form->view().surface;
        const QImage shown = surface->picture();
        const std::string pdf = home() + "farm.pdf";
        desktop_.print_file = pdf;

        desktop_.print_answers.push_back("1:5000");
        item(form, "&File", "&Print map")->trigger();
        QCOMPARE(desktop_.print_scales, std::vector<std::string>{"fit to page"});
        QCOMPARE(desktop_.print_names, std::vector<std::string>{examples + "farm.pdf"});  // beside the map
        QCOMPARE(desktop_.errors, std::vector<std::string>{});
        const std::string page = read_text(pdf);
        QVERIFY(holds(page, "/MediaBox [0 0 595.000000 842.000000]"));
        QVERIFY(!holds(page, "/Subtype /Image"));
        QCOMPARE(form->view().surface, before);
        QCOMPARE(surface->picture(), shown);

        // Too large for the paper: the box says so and the file stays.
        desktop_.print_answers.push_back("1:500");
        button(ui(form).main_toolbar, "Print Map")->trigger();
        QCOMPARE(desktop_.print_scales.back(), std::string("1:5000"));  // the field remembers
        QCOMPARE(desktop_.errors.size(), size_t{1});
        QVERIFY2(desktop_.errors[0].rfind("at 1:500 the map needs 1412 x ", 0) == 0, desktop_.errors[0].c_str());
        QVERIFY(desktop_.errors[0].ends_with("; a4 portrait gives 190 x 277 mm"));
        QCOMPARE(read_text(pdf), page);
        QCOMPARE(surface->picture(), shown);

        // The printer's paper and turn: letter on its side, fitted.
        desktop_.print_paper = QPageSize(QPageSize::Letter);
        desktop_.print_orientation = QPageLayout::Landscape;
        desktop_.print_answers = {"1:500", "fit to page"};
        form->print_itemClick();
        QVERIFY(desktop_.errors.back().ends_with("; letter landscape gives 259 x 195 mm"));
        form->print_itemClick();
        QCOMPARE(desktop_.errors.size(), size_t{2});
        QVERIFY(holds(read_text(pdf), "/MediaBox [0 0 792.000000 612.000000]"));

        fs::remove(pdf);
        desktop_.print_answers.push_back(std::nullopt);
        form->print_itemClick();
        QVERIFY(!fs::exists(pdf));
    }

    // The export dialog offers PDF and SVG beside the pictures: the surface
    // painted again as vectors, one surface pixel a page pixel.
    void export_as_vectors()
    {
        auto form = make_form(farm);
        select_all_items(*form);
        const QSize size = ui(form).shape_window->size();
        desktop_.save_answers.push_back(save_choice{home() + "map", 3});
        item(form, "&File", "&Export to bitmap")->trigger();
        const std::string svg = read_text(home() + "map.svg");
        QVERIFY(holds(svg, "viewBox=\"0 0 " + std::to_string(size.width()) + " " + std::to_string(size.height()) + "\""));
        QVERIFY(holds(svg, "fill=\"" + to_qcolor(form->map().shapes[0]->colour).name().toStdString() + "\""));

        desktop_.save_answers.push_back(save_choice{home() + "map.PDF", 0});
        item(form, "&File", "&Export to bitmap")->trigger();
        const std::string pdf = read_text(home() + "map.PDF");
        QVERIFY(pdf.rfind("%PDF", 0) == 0);
        QVERIFY(!holds(pdf, "/Subtype /Image"));
        QCOMPARE(desktop_.errors, std::vector<std::string>{});
    }
};

QTEST_MAIN(map_print_form_test)
#include "map_print_form_test.moc"
