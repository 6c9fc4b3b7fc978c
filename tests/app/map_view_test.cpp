// Zoom and pan on the map surface by wheel, drag and keys, clicks through
// the view, the status line, the standard keys and the View menu's choices.
#include "window_test_support.h"
#include "app/map_form_commands.h"
#include "app/map_surface.h"
#include "app/status_texts.h"
#include "annotations/qt/scale_form.h"
#include "gps/qt/gps_form.h"
#include "model/map_units.h"
#include "tests/find_control.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>

using namespace wayloom;
using namespace wayloom::testing;

namespace {

map_surface* surface_of(const std::unique_ptr<Tmap_form>& form) { return ui(form).shape_window; }

QString status(const std::unique_ptr<Tmap_form>& form, const char* name)
{
    return control<QLabel>(*form, name)->text();
}

void wheel(QWidget* widget, QPoint at, int delta)
{
    QWheelEvent turn(QPointF(at), QPointF(widget->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &turn);
}

// The middle of an item of the farm (shape_list entry `entry`) on the surface.
QPoint middle_of(map_surface* surface, std::size_t entry)
{
    for (const laid_out_item& laid : surface->layout().items) {
        if (laid.entry != entry) continue;
        QPoint sum;
        for (const pixel_pos& p : laid.pixels) sum += QPoint(p.x, p.y);
        return sum / int(laid.pixels.size());
    }
    qFatal("entry %zu not drawn", entry);
}

constexpr std::size_t orchard = 2, pond = 3;

// The share of pixels of `before` found `by` further in `after`.
double moved_share(const QImage& before, const QImage& after, QPoint by)
{
    int same = 0, all = 0;
    for (int y = std::max(0, -by.y()); y < before.height() && y + by.y() < after.height(); ++y)
        for (int x = std::max(0, -by.x()); x < before.width() && x + by.x() < after.width(); ++x, ++all)
            same += before.pixel(x, y) == after.pixel(x + by.x(), y + by.y());
    return all ? double(same) / all : 0;
}

} // namespace

class map_view_test : public QObject, window_fixture {
    Q_OBJECT

private slots:
    void init() { fresh(); }

    // Three notches about the orchard keep it under the pointer; then the
    // surface's keys and the window's zoom keys.
    void the_wheel_zooms_about_the_pointer_and_keys_zoom_and_pan()
    {
        auto form = make_form(farm);
        select_all_items(*form);
        map_surface* surface = surface_of(form);
        const QPoint at = middle_of(surface, orchard);
        const QRgb under = surface->picture().pixel(at);
        const map_frame::position before = surface->position_at(at);
        wheel(surface, at, 3 * 120);
        QCOMPARE(status(form, "status_zoom"), QString("1.95\u00d7"));
        QCOMPARE(surface->picture().pixel(at), under);
        const map_frame::position after = surface->position_at(at);
        const long double pixel = form->view().lat_range / form->view().fit_height;  // map units at 1x
        QVERIFY(std::fabs(double(after.lat - before.lat)) < pixel && std::fabs(double(after.lon - before.lon)) < 2 * pixel);

        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        surface->setFocus();
        const double tenth = surface->width() / 10.0;
        struct row { const char* name; Qt::Key key; Qt::KeyboardModifiers modifiers; QString zoom; double moved; };
        const row rows[] = {
            {"right arrow: a tenth to the east", Qt::Key_Right, {}, "1.95\u00d7", tenth / 1.953125},
            {"plus about the middle", Qt::Key_Plus, {}, "2.44\u00d7", 0},
            {"minus", Qt::Key_Minus, {}, "1.95\u00d7", 0},
            {"Ctrl+=", Qt::Key_Equal, Qt::ControlModifier, "2.44\u00d7", 0},
            {"Ctrl+-", Qt::Key_Minus, Qt::ControlModifier, "1.95\u00d7", 0},
        };
        for (const row& r : rows) {
            const double was = double(surface->view().centre().x);
            QTest::keyClick(surface, r.key, r.modifiers);
            QCOMPARE(status(form, "status_zoom"), r.zoom);
            QVERIFY2(std::fabs(double(surface->view().centre().x) - was - r.moved) < 1e-6, r.name);
        }
        QTest::keyClick(surface, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(status(form, "status_zoom"), QString("1\u00d7"));
        QCOMPARE(surface->picture(), render_map(const_cast<view_state&>(form->view()), form->map().shape_list,
                                                surface->annotations));
    }

    // Zoomed, the ruler's bar grows with the map: its label stays true.
    void the_ruler_grows_with_the_zoom()
    {
        auto form = make_form(farm);
        select_all_items(*form);
        control<QLineEdit>(*form->scale(), "amount_edit")->setText("100");
        control<QAbstractButton>(*form->scale(), "plonk_button")->click();
        map_surface* surface = surface_of(form);
        // The right-hand tick: the last black pixel along the top rows.
        const auto right_end = [&] {
            const QImage picture = surface->picture();
            int end = -1;
            for (int y = 0; y <= ruler_thickness; ++y)
                for (int x = 0; x < picture.width(); ++x)
                    if (picture.pixel(x, y) == qRgb(0, 0, 0)) end = std::max(end, x);
            return end;
        };
        const int fitted = right_end();
        wheel(surface, QPoint(0, 0), 4 * 120);  // 2.44x about the ruler's corner
        QVERIFY2(std::abs(right_end() - fitted * 2.44140625) <= 3, qPrintable(QString::number(fitted)));
    }

    // A drag moves the picture with the pointer, by the middle button or by
    // the left one with Space held.
    void drags_pan_the_map()
    {
        struct row { const char* name; Qt::MouseButton button; bool space; };
        for (const row& r : {row{"middle button", Qt::MiddleButton, false}, row{"Space and left", Qt::LeftButton, true}}) {
            auto form = make_form(farm);
            select_all_items(*form);
            map_surface* surface = surface_of(form);
            const QPoint from(surface->width() / 2, surface->height() / 2), by(-40, -25);
            wheel(surface, from, 4 * 120);
            const QImage before = surface->picture();
            if (r.space) QTest::keyPress(surface, Qt::Key_Space);
            QTest::mousePress(surface, r.button, {}, from);
            QTest::mouseMove(surface, from + by / 2);
            QTest::mouseMove(surface, from + by);
            QTest::mouseRelease(surface, r.button, {}, from + by);
            if (r.space) QTest::keyRelease(surface, Qt::Key_Space);
            QVERIFY2(moved_share(before, surface->picture(), by) > 0.99, r.name);
            QVERIFY2(form->edits().build_shape() == nullptr, r.name);
        }
    }

    // With the waypoints shown and the map kept behind the shape being
    // built, a click at 7.45x adds the waypoint under it, drawn there.
    void a_click_on_a_zoomed_map_adds_the_waypoint_under_it()
    {
        auto form = make_form(farm);
        item(form, "&View", waypoints_caption)->trigger();
        item(form, "&View", map_behind_caption)->trigger();
        select_all_items(*form);
        ui(form).map_control->setCurrentIndex(waypoints_tab);
        map_surface* surface = surface_of(form);
        const pixel_pos corner = surface->layout().items[orchard].pixels[0];
        wheel(surface, QPoint(corner.x, corner.y), 9 * 120);
        QCOMPARE(status(form, "status_zoom"), QString("7.45\u00d7"));
        // The dot nearest to where the pointer stayed: the orchard's corner,
        // within the pixel it had at 1x, now 7.45 pixels wide.
        const std::vector<pixel_pos>& dots = surface->layout().waypoints;
        std::size_t chosen = 0;
        const auto far = [&](std::size_t i) { return std::hypot(dots[i].x - corner.x, dots[i].y - corner.y); };
        for (std::size_t i = 0; i < dots.size(); ++i)
            if (far(i) < far(chosen)) chosen = i;
        QVERIFY(far(chosen) <= 7.45 * std::sqrt(2.0));
        const QPoint click(dots[chosen].x, dots[chosen].y);
        QTest::mouseClick(surface, Qt::LeftButton, {}, click);

        const t_shape* built = form->edits().build_shape();
        QVERIFY(built && built->nodes.size() == 1);
        QCOMPARE(built->nodes[0].waypoint, form->map().waypoints[chosen]->number);
        QCOMPARE(status(form, "status_zoom"), QString("7.45\u00d7"));
        const pixel_pos node = surface->layout().building->pixels[0];
        QVERIFY(std::abs(node.x - click.x()) <= 1 && std::abs(node.y - click.y()) <= 1);
        QCOMPARE(surface->picture().pixel(node.x, node.y), qRgb(0, 0, 0));  // the new shape's border
    }

    // Over the orchard the status line names it, its class and where the
    // pointer is; a right click picks the pond for renaming.
    void the_status_line_follows_the_pointer()
    {
        auto form = make_form(farm);
        select_all_items(*form);
        map_surface* surface = surface_of(form);
        const QPoint over = middle_of(surface, orchard);
        QTest::mouseMove(surface, over);
        QCOMPARE(status(form, "status_item"), QString("orchard (pasture)"));
        QVERIFY(QRegularExpression("^52\\.41\\d{4}, -4\\.05\\d{4}$").match(status(form, "status_position")).hasMatch());
        // Zoomed about the middle, the map moves under the still pointer.
        for (int i = 0; i < 6; ++i) item(form, "&View", "Zoom in")->trigger();
        const map_frame::position p = surface->position_at(over);
        QCOMPARE(status(form, "status_position"), QString::fromStdString(position_text(to_degrees(p.lat), to_degrees(p.lon))));
        item(form, "&View", "Zoom to fit")->trigger();
        QTest::mouseClick(surface, Qt::RightButton, {}, middle_of(surface, pond));
        QCOMPARE(ui(form).shape_edit->text(), QString("pond"));
    }

    // What a command without a dialog did, for two seconds.
    void commands_leave_a_note()
    {
        auto form = make_form(farm);
        struct row { const char* name; std::function<void()> act; QString note; };
        const row rows[] = {
            {"saved", [&] {
                 desktop_.save_answers.push_back(save_choice{home() + "farm.wlm", 0});
                 item(form, "&File", "&Save map")->trigger();
             }, "Saved farm.wlm"},
            {"nothing selected", [&] { item(form, "&View", "Re&draw map")->trigger(); }, nothing_to_draw_note},
        };
        for (const row& r : rows) {
            r.act();
            QCOMPARE(status(form, "status_note"), r.note);
            QCOMPARE(ui(form).status_note_timer->interval(), 2000);
        }
        QTRY_COMPARE_WITH_TIMEOUT(status(form, "status_note"), QString(), 3000);
    }

    // The standard keys sit on their menu items; Delete deletes the
    // selected shape; a stray key starts no transfer.
    void standard_keys()
    {
        auto form = make_form(farm);
        for (const shortcut_row& r : map_form_shortcuts())
            QVERIFY2(item(form, r.menu, r.caption)->shortcuts().contains(QKeySequence(r.key)), r.caption);
        for (const char* name : {"Download", "Upload"})
            for (QPushButton* b : form->gps()->findChildren<QPushButton*>())
                if (b->text() == name) QVERIFY2(b->shortcut().isEmpty(), name);

        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        select_rows(ui(form).shape_list, int(pond));
        ui(form).shape_list->setFocus();
        QTest::keyClick(ui(form).shape_list, Qt::Key_Delete);
        QCOMPARE(texts(form->map().shape_list),
                 (std::vector<std::string>{"north-meadow", "long-field", "orchard", "farm-track", "fence-posts"}));
    }

    // The View menu's choices are kept in section "main"; Draw map fits
    // again unless the view is kept.
    void view_choices_are_kept()
    {
        {
            auto form = make_form(farm);
            select_all_items(*form);
            wheel(surface_of(form), QPoint(20, 20), 120);
            form->draw_buttonClick();
            QCOMPARE(status(form, "status_zoom"), QString("1\u00d7"));
            for (const char* caption : {keep_view_caption, map_behind_caption, waypoints_caption})
                item(form, "&View", caption)->trigger();
            form->close();
        }
        const std::string ini = read_text(this->ini());
        for (const char* key : {"keep_view=1", "map_behind=1", "waypoints=1"})
            QVERIFY2(ini.find(key) != std::string::npos, key);
        auto form = make_form(farm);
        for (const char* caption : {keep_view_caption, map_behind_caption, waypoints_caption})
            QVERIFY2(item(form, "&View", caption)->isChecked(), caption);
        QVERIFY(form->view().map_behind_build && surface_of(form)->shows_waypoints());
        select_all_items(*form);
        wheel(surface_of(form), QPoint(20, 20), 120);
        form->draw_buttonClick();
        QCOMPARE(status(form, "status_zoom"), QString("1.25\u00d7"));
    }
};

QTEST_MAIN(map_view_test)
#include "map_view_test.moc"
