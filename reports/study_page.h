#pragma once
/// The HTML page of a study report: one self-contained UTF-8 page whose
/// pictures stand in the folder beside it.

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "experiments/study.h"
#include "reports/study_figures.h"

namespace quorvane {

/// Text made safe inside HTML, in an element or a quoted attribute: & < > " '
/// written as entities, and control characters other than tab and line feed
/// left out.
std::string htmlText(std::string_view text);

struct StudyPageInputs {
    const Study* study = nullptr;
    const std::vector<StudyFigure>* figures = nullptr;
    std::string folderName;  ///< the picture folder, as the page refers to it
    std::tm written{};       ///< when the report was written (local time)
};

/// The whole page.
std::string studyPage(const StudyPageInputs& inputs);

}  // namespace quorvane
