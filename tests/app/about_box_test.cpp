// The splash and About window on the offscreen platform.
#include "app/about_box.h"
#include "tests/find_control.h"

#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <vector>

using wayloom::TAboutBox;
using wayloom::testing::control;

namespace {
QTimer* timer(const TAboutBox& box) { return control<QTimer>(box, "splash_timer"); }
QLabel* image(const TAboutBox& box) { return control<QLabel>(box, "splash_image"); }
} // namespace

class about_box_test : public QObject {
    Q_OBJECT
private slots:
    void the_first_window_is_the_splash_and_closes_itself()
    {
        QCOMPARE(TAboutBox::creation_count(), 0);
        TAboutBox splash;
        QVERIFY(splash.isVisible() && splash.open() && splash.shows_picture());
        QVERIFY(timer(splash)->isActive());
        QCOMPARE(timer(splash)->interval(), 3000);
        QCOMPARE(splash.size(), QSize(528, 427));
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(image(splash)->pixmap().size(), QSize(520, 420));
        // The timer's own close, without waiting the three seconds.
        timer(splash)->setInterval(1);
        QTRY_VERIFY(!splash.open());
        QVERIFY(!splash.isVisible());
    }

    void about_stays_until_clicked_and_one_is_open_at_a_time()
    {
        QWidget owner;
        QPointer<TAboutBox> about;
        wayloom::show_about(about, &owner);
        QVERIFY(about && about->open());
        QVERIFY2(!timer(*about)->isActive(), "only the first window of a run has a timer");
        const TAboutBox* first = about;
        const int created = TAboutBox::creation_count();
        wayloom::show_about(about, &owner);
        QCOMPARE(about.data(), first);
        QCOMPARE(TAboutBox::creation_count(), created);

        // A click on the picture closes it; the next About makes a fresh one.
        QTest::mouseClick(image(*about), Qt::LeftButton);
        QVERIFY(!first->open() && !first->isVisible());
        wayloom::show_about(about, &owner);
        QVERIFY(about && about.data() != first && about->open());
        QCOMPARE(TAboutBox::creation_count(), created + 1);
    }

    void a_damaged_picture_shows_the_name()
    {
        const std::vector<std::uint8_t> damaged = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F'};
        TAboutBox about(nullptr, damaged);
        QVERIFY(about.isVisible() && !about.shows_picture());
        QCOMPARE(image(about)->text(), QString("Wayloom"));
    }
};

QTEST_MAIN(about_box_test)
#include "about_box_test.moc"
