#include "ui/help_pages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorvane {

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

}  // namespace quorvane
