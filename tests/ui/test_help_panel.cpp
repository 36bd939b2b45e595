// The Help panel as a user meets it: the content links open the shipped
// pages, the site label opens their index, Browse chooses the log file.

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

#include "experiments/app_state.h"
#include "recording_platform.h"
#include "ui/help_panel.h"
#include "ui/main_window.h"

using namespace quorvane;

class HelpPanelTest : public QObject {
    Q_OBJECT
  private slots:
    void aLongPathBreaksAtTheEdgeAndCopiesAsItIs() {
        AppState state;
        state.paths.logPath = "/data/" + std::string(120, 'x') + "/_Quorvane_log.csv";
        testing::RecordingPlatform platform;
        HelpPanel panel(state, platform);
        panel.resize(420, 600);
        panel.show();
        QPlainTextEdit* box = panel.logPathBox();
        QCOMPARE(box->toPlainText().toStdString(), state.paths.logPath);
        QTRY_VERIFY(box->document()->firstBlock().layout()->lineCount() > 1);
        box->selectAll();
        box->copy();
        QCOMPARE(QGuiApplication::clipboard()->text().toStdString(), state.paths.logPath);
    }

    void browseRefusesOtherThanCsvAndKeepsThePath() {
        AppState state;
        testing::RecordingPlatform platform;
        HelpPanel panel(state, platform);
        const QString before = panel.logPathBox()->toPlainText();
        platform.fileAnswers.push_back("/data/notes.txt");
        panel.browseButton()->click();
        QCOMPARE(platform.messages.back(), std::string("Wrong file extention, must be csv"));
        QCOMPARE(panel.logPathBox()->toPlainText(), before);
        QCOMPARE(state.paths.logPath, std::string("_Quorvane_log.csv"));
        const FileQuestion& asked = platform.fileQuestions.back();
        QCOMPARE(asked.title, std::string("Select log file to save reports"));
        QCOMPARE(asked.filter, std::string("*.csv"));
        QCOMPARE(asked.initialName, std::string("*.csv"));

        platform.fileAnswers.push_back("/data/runs of march.csv");
        panel.browseButton()->click();
        QCOMPARE(state.paths.logPath, std::string("/data/runs of march.csv"));
        QCOMPARE(panel.logPathBox()->toPlainText(), QString("/data/runs of march.csv"));
        panel.openButton()->click();
        QCOMPARE(platform.opened.back(), std::string("/data/runs of march.csv"));

        platform.fileAnswers.push_back(std::nullopt);  // Cancel
        panel.browseButton()->click();
        QCOMPARE(state.paths.logPath, std::string("/data/runs of march.csv"));
    }

    void linksOpenThePagesInstalledInTheWorkingFolder() {
        QTemporaryDir documents;
        AppState state;
        testing::RecordingPlatform platform;
        MainWindow window(state, platform, documents.path().toStdString());
        HelpPanel& panel = *window.helpPanel();
        const QString installed = documents.path() + "/Ambrevo/help";
        QCOMPARE(panel.pagesFolder(), installed);
        for (int i = 0; i < 8; ++i) {
            panel.entry(i)->click();
            QVERIFY2(!platform.opened.empty(), "no page was opened");
            const QString opened = QString::fromStdString(platform.opened.back());
            QCOMPARE(opened, installed + "/" + HelpPanel::kEntries[i].page);
            QVERIFY2(QFile::exists(opened), qPrintable(opened));
        }
        emit panel.siteLabel()->linkActivated("index");
        QCOMPARE(QString::fromStdString(platform.opened.back()), installed + "/index.html");
        // The science page points at the growth-regime page.
        QFile science(installed + "/physical_background.html");
        QVERIFY(science.open(QIODevice::ReadOnly));
        QVERIFY(science.readAll().contains("href=\"growth-regime.html\""));
        QCOMPARE(panel.entry(1)->text(), QString("Scientific background"));
    }

    void linksChangeColourUnderTheMouse() {
        AppState state;
        testing::RecordingPlatform platform;
        HelpPanel panel(state, platform);
        panel.resize(900, 500);
        LinkButton* link = panel.entry(0);
        auto linkColourPixels = [link](QColor colour) {
            const QImage image = link->grab().toImage();
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
            return count;
        };
        QVERIFY(linkColourPixels(QColor(40, 40, 160)) > 0);
        QCOMPARE(linkColourPixels(QColor(40, 40, 225)), 0);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(link, &enter);
        QVERIFY(link->hovered());
        QVERIFY(linkColourPixels(QColor(40, 40, 225)) > 0);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(link, &leave);
        QVERIFY(!link->hovered());
    }

    void installingReplacesOnlyChangedPages() {
        QTemporaryDir from, to;
        auto write = [](const QString& path, const QByteArray& text) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(text);
        };
        write(from.path() + "/index.html", "<html>new</html>");
        write(from.path() + "/a.html", "a");
        QVERIFY(installHelpPages(from.path(), to.path() + "/help"));
        QFile copied(to.path() + "/help/index.html");
        QVERIFY(copied.open(QIODevice::ReadOnly));
        QCOMPARE(copied.readAll(), QByteArray("<html>new</html>"));
        QCOMPARE(findHelpFolder({to.path() + "/nowhere", to.path() + "/help"}),
                 QDir(to.path() + "/help").absolutePath());
        QVERIFY(findHelpFolder({to.path()}).isEmpty());
        QVERIFY(!QFile::exists(to.path() + "/help/index.html.part"));
    }
};

QTEST_MAIN(HelpPanelTest)
#include "test_help_panel.moc"
