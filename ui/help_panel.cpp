#include "ui/help_panel.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "common/platform.h"
#include "model/working_folder.h"
#include "ui/qt_platform.h"
#include "ui_help_panel.h"

namespace quorvane {

namespace {

constexpr const char* kWrongCsvMessage = "Wrong file extention, must be csv";
const QColor kLabelText(0, 0, 255);
const QColor kBackground(200, 215, 215);
const QColor kLinkText(40, 40, 160);
const QColor kLinkHover(40, 40, 225);

QFont timesFont(int pixels, int weight, bool underline = false) {
    QFont font("Times");
    font.setPixelSize(pixels);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setUnderline(underline);
    return font;
}

void colourLabel(QLabel* label, const QFont& font) {
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kLabelText);
    palette.setColor(QPalette::Window, kBackground);
    label->setPalette(palette);
}

}  // namespace

QString wrapPathForDisplay(const std::string& path) {
    std::string shown;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i > 0 && i % 40 == 0) shown += ' ';
        shown += path[i];
    }
    return QString::fromStdString(shown);
}

// ---------------------------------------------------------------------------
// Link entries

LinkButton::LinkButton(QWidget* parent) : QAbstractButton(parent) {
    setFont(timesFont(17, 500));
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

QSize LinkButton::sizeHint() const {
    return {fontMetrics().horizontalAdvance(text()) + 12, fontMetrics().height() + 6};
}

void LinkButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kBackground);
    p.setPen(hovered_ ? kLinkHover : kLinkText);
    QFont font = this->font();
    font.setUnderline(hovered_);
    p.setFont(font);
    const QRect area = rect().adjusted(4, 0, -4, 0);
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

void LinkButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void LinkButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

// ---------------------------------------------------------------------------
// The panel

HelpPanel::HelpPanel(AppState& state, QtPlatform& platform, QWidget* parent)
    : QWidget(parent), state_(state), platform_(platform), ui_(std::make_unique<Ui::HelpPanel>()) {
    ui_->setupUi(this);
    applyLook();
    bindEntries();
    connect(ui_->button1075, &QPushButton::clicked, this, &HelpPanel::browseLogFile);
    connect(ui_->button1076, &QPushButton::clicked, this, &HelpPanel::openLogFile);
    connect(ui_->label1057, &QLabel::linkActivated, this, [this] { openPage(kIndexPage); });
    refresh();
}

HelpPanel::~HelpPanel() = default;

void HelpPanel::applyLook() {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kBackground);
    setPalette(palette);
    colourLabel(ui_->label1057, timesFont(18, 500, true));
    colourLabel(ui_->label1063, timesFont(22, 600));
    colourLabel(ui_->label1072, timesFont(14, 700, true));
    colourLabel(ui_->label1073, timesFont(14, 500));
    colourLabel(ui_->notes, timesFont(15, 400));
    // The two buttons of the panel's form that the program never shows.
    for (QPushButton* hidden : {ui_->button1085, ui_->button1086})
        hidden->setFont(timesFont(17, 400));
}

void HelpPanel::bindEntries() {
    entries_ = {ui_->button1065, ui_->button1064, ui_->button1066, ui_->button1067,
                ui_->button1068, ui_->button1069, ui_->button1070, ui_->button1071};
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        entries_[i]->setText(kEntries[i].caption);
        entries_[i]->setToolTip(QString("Opens the help page \"%1\"").arg(kEntries[i].caption));
        const char* page = kEntries[i].page;
        connect(entries_[i], &QAbstractButton::clicked, this, [this, page] { openPage(page); });
    }
}

QLabel* HelpPanel::siteLabel() const {
    return ui_->label1057;
}

QLabel* HelpPanel::logPathLabel() const {
    return ui_->label1073;
}

QPushButton* HelpPanel::browseButton() const {
    return ui_->button1075;
}

QPushButton* HelpPanel::openButton() const {
    return ui_->button1076;
}

void HelpPanel::installPages(const std::string& workingFolder) {
    const QString shipped = findHelpFolder(shippedHelpFolders());
    if (shipped.isEmpty() || workingFolder.empty()) return;
    const QString target = QString::fromStdString(workingFolder) + "/help";
    if (installHelpPages(shipped, target)) installedFolder_ = target;
    refresh();
}

QString HelpPanel::pagesFolder() const {
    if (!installedFolder_.isEmpty() && QFileInfo::exists(installedFolder_ + "/index.html"))
        return installedFolder_;
    return findHelpFolder(shippedHelpFolders());
}

QString HelpPanel::pagePath(const char* page) const {
    const QString folder = pagesFolder();
    return folder.isEmpty() ? QString() : folder + "/" + page;
}

void HelpPanel::openPage(const char* page) {
    const QString path = pagePath(page);
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        platform_.message("The help pages were not found beside the program.");
        return;
    }
    platform_.openInDefaultProgram(path.toStdString());
}

void HelpPanel::browseLogFile() {
    FileQuestion question;
    question.title = "Select log file to save reports";
    question.filter = "*.csv";
    question.initialName = "*.csv";
    question.initialFolder = state_.paths.workingFolder;
    question.forSaving = true;  // a new log file may be named here
    std::optional<std::string> chosen = platform_.chooseFile(question);
    if (!chosen) return;
    if (chosen->find(".csv") == std::string::npos) {
        platform_.message(kWrongCsvMessage);
        return;
    }
    state_.paths.logPath = *chosen;
    refresh();
}

void HelpPanel::openLogFile() {
    std::string path = state_.paths.logPath;
    if (!state_.paths.workingFolder.empty())
        path = resolveInFolder(state_.paths.workingFolder, path);
    platform_.openInDefaultProgram(path);
}

void HelpPanel::refresh() {
    ui_->label1073->setText(wrapPathForDisplay(state_.paths.logPath));
    const QString folder = pagesFolder();
    ui_->notes->setText(
        "Every run that ends by a limit, by closing or by an experiment leaves one row in the "
        "log file. Browse chooses another log file (a .csv file); Open shows the log in the "
        "program your desktop uses for .csv files.\n\nThe help pages open in your web "
        "browser. " +
        (folder.isEmpty() ? QString("They were not found beside the program.")
                          : "They are kept in " + QDir::toNativeSeparators(folder) + "."));
}

void HelpPanel::refreshEnabled() {
    ui_->button1075->setEnabled(state_.runState.controlsEnabled);
}

}  // namespace quorvane
