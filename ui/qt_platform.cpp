#include "ui/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QThread>
#include <QUrl>

#include <chrono>

namespace quorvane {

static QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

namespace {

/// A message box without a title showing the text as it stands: plain text,
/// so its line breaks are kept and no character is taken for markup.
int askPlain(QWidget* parent, const std::string& text, QMessageBox::StandardButtons buttons,
             QMessageBox::StandardButton defaultButton) {
    QMessageBox box(parent);
    box.setWindowTitle(QString(" "));
    box.setTextFormat(Qt::PlainText);
    box.setText(qs(text));
    box.setStandardButtons(buttons);
    box.setDefaultButton(defaultButton);
    return box.exec();
}

}  // namespace

void QtPlatform::message(const std::string& text) {
    askPlain(parent_, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtPlatform::askYesNo(const std::string& text) {
    return askPlain(parent_, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

bool QtPlatform::askRetryCancel(const std::string& text) {
    return askPlain(parent_, text, QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry) ==
           QMessageBox::Retry;
}

std::optional<std::string> QtPlatform::chooseFile(const FileQuestion& question) {
    QString folder = qs(question.initialFolder);
    QString start = question.initialName.find('*') == std::string::npos
                        ? (folder.isEmpty() ? qs(question.initialName)
                                            : folder + "/" + qs(question.initialName))
                        : folder;
    QString filter = question.filter.empty() ? QString() : qs(question.filter);
    QString chosen = question.forSaving
                         ? QFileDialog::getSaveFileName(parent_, qs(question.title), start, filter)
                         : QFileDialog::getOpenFileName(parent_, qs(question.title), start, filter);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
}

void QtPlatform::openInDefaultProgram(const std::string& pathOrUrl) {
    QUrl url = QUrl::fromUserInput(qs(pathOrUrl), QString(), QUrl::AssumeLocalFile);
    QDesktopServices::openUrl(url);
}

void QtPlatform::setClipboardText(const std::string& text) {
    QApplication::clipboard()->setText(qs(text));
}

namespace {

std::int64_t steadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

constexpr std::int64_t kPassIntervalMs = 4;

}  // namespace

bool QtPlatform::messagePending() {
    if (closeRequested_) return true;
    if (dispatchedThisCycle_) return false;
    return steadyMilliseconds() - lastPassMs_ >= kPassIntervalMs;
}

void QtPlatform::dispatchMessage() {
    dispatchedThisCycle_ = true;
    lastPassMs_ = steadyMilliseconds();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

std::int64_t QtPlatform::nowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::tm QtPlatform::localTimeNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

void QtPlatform::sleepMilliseconds(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

}  // namespace quorvane
