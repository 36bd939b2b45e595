// The Data panel driven as a user drives it: typing into fields and pressing
// Enter, the size keys, the unit combos, the File menu, the copy keys.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <sstream>

#include "experiments/app_state.h"
#include "recording_platform.h"
#include "ui/data_panel.h"
#include "ui/main_window.h"

using namespace quorvane;

namespace {

struct Program {
    AppState state;
    testing::RecordingPlatform platform;
    MainWindow window{state, platform, ""};
    DataPanel& panel = *window.dataPanel();

    QLineEdit* edit(DataField f) { return panel.field(f); }
    QString text(DataField f) { return panel.field(f)->text(); }
    /// Selects the field's text, types over it and presses Enter.
    void type(DataField f, const QString& typed) {
        QLineEdit* e = edit(f);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, typed);
        QTest::keyClick(e, Qt::Key_Return);
    }
    QStringList allTexts() {
        QStringList texts;
        for (int i = 0; i < kDataFieldCount; ++i) texts << text(static_cast<DataField>(i));
        return texts;
    }
    void trigger(const QString& menuText) {
        for (QAction* action : panel.fileMenu()->actions())
            if (action->text().remove('&') == menuText) return action->trigger();
        QFAIL(qPrintable("no menu item " + menuText));
    }
};

std::string readAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

class DataPanelTest : public QObject {
    Q_OBJECT
  private slots:
    void typedVolumeRescalesTheMolecule() {
        Program p;
        QCOMPARE(p.text(DataField::SizeA), QString("6"));
        p.type(DataField::Volume, "1728");
        QCOMPARE(p.text(DataField::SizeA), QString("12"));
        QCOMPARE(p.text(DataField::SizeB), QString("12"));
        QCOMPARE(p.text(DataField::SizeC), QString("12"));
        QCOMPARE(p.text(DataField::Surface), QString("864"));

        p.type(DataField::Surface, "54");
        QCOMPARE(p.text(DataField::SizeA), QString("3"));
        QCOMPARE(p.text(DataField::Volume), QString("27"));
    }

    void temperatureRulesKeepThePhysicsConsistent() {
        Program p;
        p.type(DataField::MeltTemperature, "1500");  // below T = 1600
        QCOMPARE(p.text(DataField::MeltTemperature), QString("1616"));
        QCOMPARE(p.text(DataField::LiquidusTemperature), QString("1616"));
        QCOMPARE(p.text(DataField::Concentration), QString("1"));

        Program q;
        q.type(DataField::Temperature, "1750");  // above Tl = 1700
        QCOMPARE(q.text(DataField::Temperature), QString("1683"));
    }

    void leavingAnEditedFieldKeepsWhatWasTyped() {
        Program p;
        QLineEdit* a = p.edit(DataField::SizeA);
        a->setFocus();
        a->selectAll();
        QTest::keyClicks(a, "7");
        QTest::keyClick(a, Qt::Key_Tab);
        emit a->editingFinished();  // focus leaves the field
        QCOMPARE(p.state.data.Size_A, 7.0);
        QCOMPARE(p.text(DataField::Volume), QString("252"));
        // Enter on a field that was not changed does not round its number.
        p.state.data.Surface_Energy = 1.23456789e-21;
        p.panel.refreshFromData();
        QTest::keyClick(p.edit(DataField::SurfaceEnergy), Qt::Key_Return);
        QCOMPARE(p.state.data.Surface_Energy, 1.23456789e-21);
        QCOMPARE(p.text(DataField::SurfaceEnergy), QString("1.235e-21"));
    }

    void sizeKeysScaleTheFocusedSize() {
        Program p;
        QLineEdit* b = p.edit(DataField::SizeB);
        b->setFocus();
        QTest::keyClick(b, Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(p.text(DataField::SizeB), QString("18"));
        QCOMPARE(p.text(DataField::Volume), QString("648"));
        QTest::keyClick(b, Qt::Key_3, Qt::AltModifier);
        QCOMPARE(p.state.data.Size_B, 6.0);
        QTest::keyClick(b, Qt::Key_3, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(p.state.data.Size_B, 6.0);
        QTest::keyClick(b, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(p.text(DataField::SizeB), QString("8.485"));
        QTest::keyClick(b, Qt::Key_Control, Qt::ControlModifier);  // Ctrl alone
        QCOMPARE(p.text(DataField::SizeB), QString("8.485"));
        // A digit without Ctrl or Alt is typed; the volume field has no size keys.
        QLineEdit* v = p.edit(DataField::Volume);
        const QString before = v->text();
        QTest::keyClick(v, Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(v->text(), before);
    }

    void unitChangeConvertsTheShownNumbers() {
        Program p;
        QVERIFY(!p.panel.unitCombo(1)->isEnabled());  // SI fixes the units
        p.panel.unitCombo(0)->setCurrentIndex(2);     // Custom
        QVERIFY(p.panel.unitCombo(1)->isEnabled());
        p.panel.unitCombo(1)->setCurrentIndex(1);  // angstroms to nanometres
        QCOMPARE(p.text(DataField::SizeA), QString("0.6"));
        QCOMPARE(p.text(DataField::Volume), QString("0.216"));
        QCOMPARE(p.panel.scaleLabel(1)->text(), QString::fromUtf8("( 10⁻⁹ metres)"));

        p.panel.unitCombo(5)->setCurrentIndex(1);  // Kelvin to Celsius, "%.5g"
        // 1326.85 lies just below in binary: "%.5g" shows 1326.8.
        QCOMPARE(p.text(DataField::Temperature), QString("1326.8"));
        QCOMPARE(p.panel.scaleLabel(5)->text(), QString("C+273.15 (Kelvins)"));
        p.panel.unitCombo(3)->setCurrentIndex(3);  // kcal carry 4.184
        QVERIFY(p.panel.scaleLabel(3)->text().startsWith("( 4.184"));
    }

    void brokenOrWronglyNamedFilesChangeNothing() {
        QTemporaryDir folder;
        const std::string broken = folder.path().toStdString() + "/broken.csv";
        std::ofstream(broken) << "Content\nSize_A,99\n";
        Program p;
        p.type(DataField::SizeA, "7");
        const QStringList before = p.allTexts();
        const QString title = p.window.windowTitle();

        p.platform.fileAnswers.push_back(broken);
        p.trigger("Open");
        QCOMPARE(p.platform.messages.back(),
                 std::string("It is not correct file for reading data"));
        QCOMPARE(p.allTexts(), before);
        QCOMPARE(p.window.windowTitle(), title);
        QCOMPARE(p.platform.fileQuestions.back().title, std::string("Select data file"));
        QCOMPARE(p.platform.fileQuestions.back().filter, std::string("*.csv"));

        p.platform.fileAnswers.push_back(folder.path().toStdString() + "/data.txt");
        p.trigger("Save As");
        QCOMPARE(p.platform.messages.back(), std::string("Wrong file extention, must be csv"));
        QVERIFY(!QFile::exists(folder.path() + "/data.txt"));
    }

    void saveAsThenOpenBringsTheDataBack() {
        QTemporaryDir folder;
        const std::string path = folder.path().toStdString() + "/mine.csv";
        Program p;
        p.type(DataField::SizeC, "9");
        p.platform.fileAnswers.push_back(path);
        p.trigger("Save As");
        QCOMPARE(p.window.windowTitle(), QString::fromStdString(path));
        QVERIFY(readAll(path).rfind("Content,Data\n", 0) == 0);

        Program q;
        q.platform.fileAnswers.push_back(path);
        q.trigger("Open");
        QCOMPARE(q.text(DataField::SizeC), QString("9"));
        QCOMPARE(q.window.windowTitle(), QString::fromStdString("Quorvane - " + path));
        // The report items wait for their commands.
        for (QAction* action : q.panel.fileMenu()->actions())
            if (action->text().startsWith("Save ") && action->text().remove('&') != "Save As")
                QVERIFY(!action->isEnabled());
        int saved = 0;
        q.panel.saveReportChart = [&saved] { ++saved; };
        emit q.panel.fileMenu()->aboutToShow();
        q.trigger("Save report chart");
        QCOMPARE(saved, 1);
    }

    void buttonsCheckBoxAndAccuracy() {
        Program p;
        const QString theoryBefore = p.panel.theoryLabel()->text();
        p.panel.estimateButton()->click();
        const double expected = 0.5 * p.state.data.bondLength * p.state.data.Enthalpie;
        QCOMPARE(p.state.data.Surface_Energy, expected);
        QVERIFY(p.panel.theoryLabel()->text() != theoryBefore);  // r_crit follows sigma

        QVERIFY(p.edit(DataField::VibrationFrequency)->isEnabled());
        p.panel.defaultCheck()->setChecked(true);
        QVERIFY(!p.edit(DataField::VibrationFrequency)->isEnabled());
        // Typing a jump frequency takes the default away again.
        p.type(DataField::JumpFrequency, "2000");
        QVERIFY(!p.panel.defaultCheck()->isChecked());
        QVERIFY(p.edit(DataField::VibrationFrequency)->isEnabled());

        Program q;
        q.panel.accuracyBox()->setValue(20);
        q.panel.accuracyBox()->stepUp();
        QCOMPARE(q.state.data.accuracy, 20);
        q.panel.accuracyBox()->setValue(2);
        QVERIFY(q.panel.theoryLabel()->text().contains("8.5e+2 A/s"));  // 846.7 in "%.2g"
    }

    void theoryShowsUndefinedWhereNoValueExists() {
        Program p;
        QVERIFY(!p.panel.predictionLabel()->text().contains("undefined"));
        p.type(DataField::GeneralSurfaceEnergy, "5000");  // no prediction this smooth
        QVERIFY(p.panel.predictionLabel()->text().contains("undefined"));
    }

    void chartLabelsKeepOneCurve() {
        Program p;
        emit p.panel.curveLabel(0)->linkActivated("V");  // V off, P still on
        QCOMPARE(p.state.data.Chart_show_curves[0], 0);
        emit p.panel.curveLabel(2)->linkActivated("P");  // the last one stays
        QCOMPARE(p.state.data.Chart_show_curves[2], 1);
        const double zoom = p.state.data.Paint_temp_curve_with_zoom;
        emit p.panel.zoomLabel(true)->linkActivated("In");
        QCOMPARE(p.state.data.Paint_temp_curve_with_zoom, zoom * 1.05);
    }

    void copyKeysPutTablesOnTheClipboard() {
        Program p;
        QLineEdit* a = p.edit(DataField::SizeA);
        QTest::keyClick(a, Qt::Key_T, Qt::ControlModifier);
        QVERIFY(p.platform.clipboard.rfind("Maximum of growth rate\t", 0) == 0);
        QVERIFY(p.platform.clipboard.find("\tK\t") != std::string::npos);
        QCOMPARE(QString::fromStdString(p.platform.clipboard).count('\n'),
                 DataPanel::kTableSteps + 3);
        // The chart's curves as shown: rates and porosity on, roughness off.
        QTest::keyClick(a, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(p.platform.clipboard.rfind(
                    "Temperature, K\tGrowth rate, A/s\tPorosity, (parts)\n1700\t", 0) == 0);
        QTest::keyClick(a, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(p.platform.clipboard.rfind("Part of molecule on surface in direct contact with "
                                           "crystal\tProbability out per step\t",
                                           0) == 0);
        p.panel.chartTableText = [](int table) { return "table " + std::to_string(table); };
        QTest::keyClick(a, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(p.platform.clipboard, std::string("table 1"));
        // Selected text in a field is the field's to copy.
        a->selectAll();
        p.platform.clipboard.clear();
        QTest::keyClick(a, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(p.platform.clipboard.empty());
    }

    void probabilityChartsFollowTheData() {
        Program p;
        auto curvePixels = [](QWidget* chart) {
            chart->resize(400, 240);
            const QImage image = chart->grab().toImage();
            int red = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    if (c.red() > 150 && c.green() < 80 && c.blue() < 80) ++red;
                }
            return red;
        };
        QVERIFY(curvePixels(p.panel.frequencyChart()) > 50);
        const int before = curvePixels(p.panel.probabilityChart());
        QVERIFY(before > 50);
        // A much smaller surface energy: molecules leave far less selectively.
        p.type(DataField::GeneralSurfaceEnergy, "0.5");
        QVERIFY(curvePixels(p.panel.probabilityChart()) != before);
    }

    void refusedValuesKeepTheFieldsAndAreNotToldAgain() {
        QTemporaryDir folder;
        const std::string bad = folder.path().toStdString() + "/bad.csv";
        std::ofstream(bad) << "Content,Data\nSize_A,9\nParts_of_surface_for_vertices,abc\n";
        Program p;
        p.platform.fileAnswers.push_back(bad);
        p.trigger("Open");
        QCOMPARE(
            p.platform.messages,
            std::vector<std::string>{"It is not correct file for reading data\n"
                                     "Parts_of_surface_for_vertices: \"abc\" is not a number"});
        QCOMPARE(p.text(DataField::SizeA), QString("6"));  // nothing of the file taken
        // Good edges and bond texts are not met with "Do fix vertiges control".
        p.type(DataField::EdgesRatio, "0.3");
        p.type(DataField::BondLength, "2");
        QCOMPARE(p.platform.messages.size(), 1u);
        p.type(DataField::BondLength, "-1");
        QCOMPARE(p.platform.messages.back(), std::string("Do fix vertiges control"));
        QCOMPARE(p.text(DataField::BondLength), QString("2"));
        // A temperature at absolute zero or below, or no number, keeps the last good one.
        for (const char* typed : {"0", "-40", "abc"}) {
            p.type(DataField::Temperature, typed);
            QCOMPARE(p.platform.messages.back(),
                     std::string("Temperatura is too close to absolute zerro."));
            QCOMPARE(p.text(DataField::Temperature), QString("1600"));
        }
    }

    void inputsAreHeldWhileARunGoesOn() {
        Program p;
        p.window.session().loop.takeControls();
        QVERIFY(!p.edit(DataField::SizeA)->isEnabled());
        QVERIFY(!p.panel.fileButton()->isEnabled());
        QVERIFY(!p.panel.unitCombo(0)->isEnabled());
        p.window.session().loop.releaseControls();
        QVERIFY(p.edit(DataField::SizeA)->isEnabled());
        QVERIFY(p.panel.fileButton()->isEnabled());
    }
};

QTEST_MAIN(DataPanelTest)
#include "test_data_panel.moc"
