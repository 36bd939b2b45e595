#pragma once
/// The pictures of a study report, each with the numbers it is drawn from:
/// the regime map over two varied parameters, every result against every
/// varied parameter, and the scatter plots of a general experiment.

#include <QPainter>
#include <QRect>
#include <QSize>
#include <functional>
#include <string>
#include <vector>

#include "experiments/study.h"

namespace quorvane {

struct StudyFigure {
    std::string section;  ///< the heading it stands under
    std::string stem;     ///< stem.png, stem.svg and stem.csv in the picture folder
    std::string caption;  ///< UTF-8
    QSize size;
    std::function<void(QPainter&, const QRect&)> paint;
    std::string csv;  ///< the numbers behind the picture
};

/// Every picture of the study, in the order of the page.
std::vector<StudyFigure> studyFigures(const Study& study);

/// The numbers of every combination: the values, the runs, mean, spread and
/// theory of each result, the regimes and the rows of the log.
std::string combinationsCsv(const Study& study);

/// The combination's values as "σ′ = 2, ΔG′ = 0.5" (UTF-8), the parameter
/// `except` left out.
std::string valuesText(const Study& study, const std::vector<double>& values,
                       std::size_t except = SIZE_MAX);

/// The rows of the log a combination's runs stand in: "3 6 9".
std::string logRowsText(const Study& study, const StudyCombination& combination);

/// The names the study report gives the files in its picture folder.
bool isStudyFigureFile(const std::string& name);

}  // namespace quorvane
