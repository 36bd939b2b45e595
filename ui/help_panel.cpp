#include "ui/help_panel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/platform.h"
#include "model/working_folder.h"
#include "ui/qt_platform.h"

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

QLabel* colouredLabel(const QString& text, const QFont& font) {
    auto* label = new QLabel(text);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kLabelText);
    palette.setColor(QPalette::Window, kBackground);
    label->setPalette(palette);
    return label;
}

}  // namespace

// ---------------------------------------------------------------------------
// Pages on disk

QString wrapPathForDisplay(const std::string& path) {
    std::string shown;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i > 0 && i % 40 == 0) shown += ' ';
        shown += path[i];
    }
    return QString::fromStdString(shown);
}

QString findHelpFolder(const QStringList& candidates) {
    for (const QString& folder : candidates)
        if (!folder.isEmpty() && QFileInfo::exists(folder + "/index.html"))
            return QDir(folder).absolutePath();
    return {};
}

QStringList shippedHelpFolders() {
    const QString bin = QCoreApplication::applicationDirPath();
    QStringList folders{bin + "/help", bin + "/../share/quorvane/help"};
#ifdef QUORVANE_HELP_SOURCE_DIR
    folders << QStringLiteral(QUORVANE_HELP_SOURCE_DIR);
#endif
    return folders;
}

bool installHelpPages(const QString& from, const QString& to) {
    if (!QDir().mkpath(to)) return false;
    bool ok = true;
    const QFileInfoList pages = QDir(from).entryInfoList(QDir::Files);
    for (const QFileInfo& page : pages) {
        const QString target = to + "/" + page.fileName();
        QFileInfo existing(target);
        if (existing.exists() && existing.size() == page.size() &&
            existing.lastModified() >= page.lastModified())
            continue;
        // A copy is made beside the page and renamed over it, so a page is
        // never left half written.
        const QString temporary = target + ".part";
        QFile::remove(temporary);
        if (!QFile::copy(page.absoluteFilePath(), temporary)) {
            ok = false;
            continue;
        }
        QFile::remove(target);
        if (!QFile::rename(temporary, target)) ok = false;
    }
    return ok;
}

// ---------------------------------------------------------------------------
// Link entries

LinkButton::LinkButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    setText(caption);
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
    : QWidget(parent), state_(state), platform_(platform) {
    setObjectName("m_Help");
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kBackground);
    setPalette(palette);

    site_ = colouredLabel("Quorvane help pages", timesFont(18, 500, true));
    site_->setCursor(Qt::PointingHandCursor);
    site_->setToolTip("Opens the index of the help pages");

    auto* content = colouredLabel("Content:", timesFont(22, 600));
    auto* links = new QVBoxLayout;
    links->setSpacing(2);
    links->addWidget(content);
    for (int i = 0; i < 8; ++i) {
        entries_[i] = new LinkButton(kEntries[i].caption);
        entries_[i]->setMinimumWidth(380);
        const char* page = kEntries[i].page;
        connect(entries_[i], &QAbstractButton::clicked, this, [this, page] { openPage(page); });
        links->addWidget(entries_[i]);
    }
    links->addStretch();

    auto* logTitle = colouredLabel("Log file:", timesFont(14, 700, true));
    logPath_ = colouredLabel({}, timesFont(14, 500));
    logPath_->setWordWrap(true);
    logPath_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    logPath_->setMinimumWidth(340);
    browse_ = new QPushButton("Browse");
    open_ = new QPushButton("Open");
    connect(browse_, &QPushButton::clicked, this, &HelpPanel::browseLogFile);
    connect(open_, &QPushButton::clicked, this, &HelpPanel::openLogFile);
    // Two buttons of the panel's form that the program never shows.
    for (const char* name : {"Restore default", "Update"}) {
        auto* hidden = new QPushButton(name, this);
        hidden->setFont(timesFont(17, 400));
        hidden->setEnabled(false);
        hidden->setVisible(false);
    }

    notes_ = colouredLabel({}, timesFont(15, 400));
    notes_->setWordWrap(true);
    notes_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* log = new QGridLayout;
    log->addWidget(logTitle, 0, 0, 1, 2);
    log->addWidget(logPath_, 1, 0, 1, 3);
    log->addWidget(browse_, 2, 0);
    log->addWidget(open_, 2, 1);
    log->addWidget(notes_, 3, 0, 1, 3);
    log->setRowMinimumHeight(3, 60);
    log->setRowStretch(4, 1);
    log->setColumnStretch(2, 1);

    auto* top = new QHBoxLayout;
    top->addStretch();
    top->addWidget(site_);

    auto* body = new QHBoxLayout;
    body->addLayout(links);
    body->addSpacing(40);
    body->addLayout(log, 1);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(20, 12, 20, 12);
    outer->addLayout(top);
    outer->addLayout(body, 1);

    connect(site_, &QLabel::linkActivated, this, [this] { openPage(kIndexPage); });
    site_->setText("<a href=\"index\" style=\"color:#0000ff\">Quorvane help pages</a>");
    refresh();
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
    logPath_->setText(wrapPathForDisplay(state_.paths.logPath));
    const QString folder = pagesFolder();
    notes_->setText(
        "Every run that ends by a limit, by closing or by an experiment leaves one row in the "
        "log file. Browse chooses another log file (a .csv file); Open shows the log in the "
        "program your desktop uses for .csv files.\n\nThe help pages open in your web "
        "browser. " +
        (folder.isEmpty() ? QString("They were not found beside the program.")
                          : "They are kept in " + QDir::toNativeSeparators(folder) + "."));
}

void HelpPanel::refreshEnabled() {
    browse_->setEnabled(state_.runState.controlsEnabled);
}

}  // namespace quorvane
