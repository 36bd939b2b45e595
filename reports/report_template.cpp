#include "reports/report_template.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

#include "common/file_io.h"

namespace quorvane {

std::string defaultReportTemplate() {
    // Compiled in from reports/report_template.html.
    QFile shipped(":/quorvane/report_template.html");
    if (!shipped.open(QIODevice::ReadOnly)) return {};
    return shipped.readAll().toStdString();
}

TemplateInstall installReportTemplate(const std::string& templatePath) {
    // Anything at that name, even an empty file or a folder, is the user's.
    if (QFileInfo::exists(QString::fromStdString(templatePath))) return TemplateInstall::Present;
    const std::string text = defaultReportTemplate();
    // Written whole beside it, then linked in under its name: a link never
    // replaces a file the user put there in the meantime.
    const std::string staged = templatePath + ".installing";
    if (text.empty() || !writeFileAtomically(staged, text)) return TemplateInstall::Failed;
    std::error_code error;
    std::filesystem::create_hard_link(staged, templatePath, error);
    TemplateInstall result = TemplateInstall::Installed;
    if (error == std::errc::file_exists) {
        result = TemplateInstall::Present;
    } else if (error) {
        // A file system without hard links.
        if (QFileInfo::exists(QString::fromStdString(templatePath))) {
            result = TemplateInstall::Present;
        } else {
            std::filesystem::rename(staged, templatePath, error);
            if (error) result = TemplateInstall::Failed;
        }
    }
    std::filesystem::remove(staged, error);
    return result;
}

}  // namespace quorvane
