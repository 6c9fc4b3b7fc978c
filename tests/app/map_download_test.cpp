// A download through the main window against the handset simulator: the
// tracks it brings are estimated and placed as a read map's shapes are.
#include "window_test_support.h"
#include "gps/qt/gps_form.h"
#include "../tools/simulator_process.h"

using namespace wayloom;
using namespace wayloom::testing;

class map_download_test : public QObject, window_fixture {
    Q_OBJECT
private slots:
    void init() { fresh(); }

    void downloaded_fields_are_estimated_and_placed()
    {
        simulator handset({"--map", farm, "--walk-step", "5"});
        write_text(ini(), "[gps]\nport=" + handset.path() + "\nget_tracks=1\n");
        auto form = make_form();
        for (const char* command : {"&Initialise GPS", "&Download Waypoints"}) {
            item(form, "&GPS", command)->trigger();
            QTRY_VERIFY_WITH_TIMEOUT(!form->gps()->working(), 60000);
        }
        QVERIFY(desktop_.errors.empty() && form->windowTitle().endsWith('*'));
        const map_document& doc = form->map();
        QCOMPARE(doc.shape_count(), 5);
        for (std::size_t i = 0; i < 4; ++i)
            QVERIFY2(doc.shapes[i]->area > 0 && doc.shapes[i]->nodes[0].corrected_lon != 0, doc.shapes[i]->name.c_str());
    }
};

QTEST_MAIN(map_download_test)
#include "map_download_test.moc"
