#include "ui/window_memory.h"

#include <QEvent>
#include <QSettings>
#include <QTabWidget>

#include "experiments/plan.h"
#include "experiments/plan_file.h"
#include "ui/main_window.h"
#include "ui/run_panel.h"

namespace quorvane {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

std::vector<task> readRows(QSettings& settings) {
    std::vector<task> rows;
    const int count = settings.beginReadArray("rows");
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        task row;
        row.kind = settings.value("kind", -1).toInt();
        row.from = settings.value("from").toDouble();
        row.till = settings.value("till").toDouble();
        row.steps = settings.value("steps", 10).toInt();
        // A kind this program does not know (a newer program wrote it) is left out.
        if (isPlanKind(row.kind)) rows.push_back(row);
    }
    settings.endArray();
    return rows;
}

}  // namespace

void savePlan(QSettings& settings, const ExperimentPlan& plan, const PlanPaths& paths) {
    settings.remove("plan");
    settings.beginGroup("plan");
    settings.beginWriteArray("rows", static_cast<int>(plan.rows().size()));
    for (std::size_t i = 0; i < plan.rows().size(); ++i) {
        const task& row = plan.rows()[i];
        settings.setArrayIndex(static_cast<int>(i));
        settings.setValue("kind", row.kind);
        settings.setValue("from", row.from);
        settings.setValue("till", row.till);
        settings.setValue("steps", row.steps);
    }
    settings.endArray();
    // Where each kind stands, so that "Resume experiment" goes on where it stopped.
    settings.beginWriteArray("current", static_cast<int>(plan.parameters().size()));
    for (std::size_t i = 0; i < plan.parameters().size(); ++i) {
        settings.setArrayIndex(static_cast<int>(i));
        settings.setValue("kind", plan.parameters()[i].kind);
        settings.setValue("value", plan.parameters()[i].current);
    }
    settings.endArray();
    settings.setValue("file", qs(paths.plan));
    settings.setValue("results", qs(paths.results));
    settings.setValue("data", qs(paths.data));
    settings.endGroup();
}

bool restorePlan(QSettings& settings, ExperimentPlan& plan, PlanPaths& paths) {
    if (!settings.contains("plan/file")) return false;
    settings.beginGroup("plan");
    plan.setRows(readRows(settings));
    const int kinds = settings.beginReadArray("current");
    for (int i = 0; i < kinds; ++i) {
        settings.setArrayIndex(i);
        plan.setCurrent(settings.value("kind").toInt(), settings.value("value").toDouble());
    }
    settings.endArray();
    paths.plan = settings.value("file").toString().toStdString();
    paths.results = settings.value("results").toString().toStdString();
    paths.data = settings.value("data").toString().toStdString();
    settings.endGroup();
    return true;
}

WindowMemory::WindowMemory(MainWindow& window, QSettings& settings)
    : window_(window), settings_(settings) {
    restore();
    window_.installEventFilter(this);
}

void WindowMemory::restore() {
    const QByteArray geometry = settings_.value("window/geometry").toByteArray();
    // Qt brings a place kept on another screen, or a larger one, within this screen.
    if (!geometry.isEmpty()) window_.restoreGeometry(geometry);
    const int tab = settings_.value("window/panel", -1).toInt();
    if (tab >= 0 && tab < window_.tabs()->count()) window_.tabs()->setCurrentIndex(tab);
    Session& session = window_.session();
    if (restorePlan(settings_, session.state.plan, session.planFile.paths))
        window_.runPanel()->planChanged();
}

void WindowMemory::save() {
    settings_.setValue("window/geometry", window_.saveGeometry());
    settings_.setValue("window/panel", window_.tabs()->currentIndex());
    const Session& session = window_.session();
    savePlan(settings_, session.state.plan, session.planFile.paths);
    settings_.sync();
}

bool WindowMemory::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Close) save();
    return QObject::eventFilter(watched, event);
}

}  // namespace quorvane
