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

void QtPlatform::message(const std::string& text) {
    QMessageBox::information(parent_, QString(), qs(text));
}

bool QtPlatform::askYesNo(const std::string& text) {
    return QMessageBox::question(parent_, QString(), qs(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool QtPlatform::askRetryCancel(const std::string& text) {
    return QMessageBox::warning(parent_, QString(), qs(text),
                                QMessageBox::Retry | QMessageBox::Cancel) == QMessageBox::Retry;
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
