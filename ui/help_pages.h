#pragma once
/// The program's help pages on disk: where the shipped pages are, and their
/// copy in the working folder that the Help panel opens.

#include <QString>
#include <QStringList>

namespace quorvane {

/// Where the help pages are: the first folder holding "index.html" among
/// `candidates`; empty when none does.
QString findHelpFolder(const QStringList& candidates);
/// The folders searched for the shipped pages: beside the program, the
/// installed share folder, and the source tree the program was built from.
QStringList shippedHelpFolders();
/// Copies the pages of `from` into `to` (created when missing), replacing a
/// page only by a newer or differing one. False when a page could not be copied.
bool installHelpPages(const QString& from, const QString& to);

}  // namespace quorvane
