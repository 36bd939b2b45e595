#include "reports/study_page.h"

#include "reports/report_format.h"

#include "common/cformat.h"
#include "common/version/version.h"
#include "reports/report_paths.h"
#include "views/regime_map.h"

namespace quorvane {
namespace {

constexpr const char* kStyle =
    "body{font-family:'Times New Roman',Times,'DejaVu Serif',serif;margin:20px 28px;color:#222;}"
    "h1{font-size:1.6em;margin-bottom:4px;}h2{font-size:1.25em;margin:28px 0 8px;"
    "border-bottom:1px solid #ccc;}figure{display:inline-block;vertical-align:top;"
    "margin:6px 18px 18px 0;}figure img{border:1px solid #ddd;max-width:100%;height:auto;}"
    "figcaption{font-size:0.9em;margin-top:4px;}table{border-collapse:collapse;"
    "font-size:0.88em;}th,td{border:1px solid #ccc;padding:2px 7px;text-align:right;}"
    "th{background:#f2f2f2;}td.word{text-align:left;}pre{background:#f6f6f6;padding:8px;"
    "white-space:pre-wrap;word-break:break-all;}p.note{font-size:0.9em;color:#444;}";

std::string element(const char* tag, const std::string& text) {
    return cformat("<%s>", tag) + htmlText(text) + cformat("</%s>\n", tag);
}

/// The page's classes of the regimes, in the colours of the pictures.
std::string regimeStyle() {
    std::string style;
    for (GrowthRegime regime : {GrowthRegime::Undetermined, GrowthRegime::Continuous,
                                GrowthRegime::Intermediate, GrowthRegime::Nucleation})
        style += std::string("td.") + growthRegimeWord(regime) +
                 "{background:" + views::regimeColour(regime).name().toStdString() + ";}";
    return style;
}

std::string regimeCell(GrowthRegime regime, const std::string& extra = {}) {
    return std::string("<td class=\"word ") + growthRegimeWord(regime) + "\">" +
           htmlText(growthRegimeWord(regime) + extra) + "</td>";
}

std::string resultsSentence(const Study& s) {
    std::string text = cformat("%zu runs in %zu combinations, from the %zu rows of the log",
                               s.runs.size(), s.combinations.size(), s.log.rows.size());
    text += s.reducedResults ? ": the results are the reduced rows (event 77) of its full runs"
                             : ": every row is a result";
    if (s.interruptedRows > 0)
        text += cformat("; %lld interrupted runs (event 10) left out", s.interruptedRows);
    if (s.log.tornRows > 0)
        text += cformat("; %lld lines that are no whole row left out", s.log.tornRows);
    return text + ".";
}

std::string overview(const Study& s) {
    std::string html = "<h1>" + htmlText("Study of " + lastPathComponent(s.logPath)) + "</h1>\n";
    html += element("p", "Log: " + s.logPath);
    html += element("p", resultsSentence(s));
    std::string varied;
    for (const StudyParameter& p : s.parameters)
        varied += (varied.empty() ? "" : "; ") + p.symbol +
                  (p.meaning.empty() ? "" : " (" + p.meaning + ")");
    const char* how = s.kind == StudyKind::General ? "Drawn: " : "Varied: ";
    html += element("p", varied.empty()
                             ? std::string("Nothing varied: the runs repeat one set of data.")
                             : how + varied + ".");
    html += element("p", cformat("Growth regimes: %lld of the runs from the table of regimes "
                                 "beside the log, %lld from the log's mechanism code.",
                                 s.regimesFromTable,
                                 static_cast<long long>(s.runs.size()) - s.regimesFromTable));
    return html;
}

std::string planTable(const StudyOrigin& origin) {
    std::string html =
        element("p", "The plan " + origin.planPath + " (the first parameter varies slowest):");
    html += "<table><tr><th>Parameter</th><th>From</th><th>To</th><th>Steps</th></tr>\n";
    for (const task& row : *origin.plan)
        html += "<tr><td class=\"word\">" + htmlText(planKindLabel(row.kind)) + "</td><td>" +
                htmlText(cformat("%g", row.from)) + "</td><td>" +
                htmlText(cformat("%g", row.till)) + "</td><td>" +
                htmlText(cformat("%d", row.steps)) + "</td></tr>\n";
    return html + "</table>\n";
}

std::string originSection(const Study& s) {
    std::string html = "<h2>How the study was made</h2>\n";
    if (s.origin.plan) {
        html += planTable(s.origin);
    } else if (s.kind == StudyKind::General) {
        html += element("p",
                        "A general experiment: the parameters above were drawn at random, "
                        "every draw one full run.");
    } else {
        html += element("p",
                        "The plan is not known: the varied parameters are those whose "
                        "values differ between the results, each one left out whose value "
                        "follows from the others (as σ′ and ΔG′ follow a temperature).");
    }
    if (!s.origin.command.empty())
        html += "<p>The command:</p>\n" + element("pre", s.origin.command);
    return html;
}

std::string figureBlock(const StudyFigure& f, const std::string& folder) {
    auto file = [&](const char* extension) {
        return htmlText(relativePicturePath(folder, f.stem + extension));
    };
    return cformat("<figure style=\"width:%dpx\"><img src=\"", f.size.width()) + file(".png") +
           cformat("\" width=\"%d\" height=\"%d\" alt=\"", f.size.width(), f.size.height()) +
           htmlText(f.caption) + "\"><figcaption>" + htmlText(f.caption) + " <a href=\"" +
           file(".svg") + "\">SVG</a> · <a href=\"" + file(".csv") +
           "\">numbers (CSV)</a></figcaption></figure>\n";
}

std::string figureSections(const std::vector<StudyFigure>& figures, const std::string& folder) {
    std::string html, section;
    for (const StudyFigure& f : figures) {
        if (f.section != section) {
            section = f.section;
            html += element("h2", section);
        }
        html += figureBlock(f, folder);
    }
    return html;
}

std::string statisticCells(const StudyCombination& c, int q) {
    const Statistic& s = c.measured[std::size_t(q)];
    const auto& theory = c.theory.value[std::size_t(q)];
    std::string mean = s.count == 0  ? std::string("–")
                       : s.count > 1 ? cformat("%.4g ± %.2g", s.mean, s.spread)
                                     : cformat("%.4g", s.mean);
    return "<td>" + htmlText(mean) + "</td><td>" +
           htmlText(theory ? cformat("%.4g", *theory) : std::string("–")) + "</td>";
}

std::string tableHead(const Study& s) {
    std::string html = "<table><tr>";
    for (const StudyParameter& p : s.parameters) html += "<th>" + htmlText(p.axisTitle()) + "</th>";
    html += "<th>runs</th>";
    for (int q = 0; q < kStudyQuantityCount; ++q) {
        if (q == kStudyPorosity && !s.porosityMeasured) continue;
        const StudyQuantityInfo& info = studyQuantity(q);
        html += "<th>" + htmlText(std::string(info.title) + " (" + info.unit + ")") +
                "</th><th>theory</th>";
    }
    return html + "<th>regime</th><th>theory</th><th>log rows</th></tr>\n";
}

/// Above this many the table starts folded: laying out a thousand rows costs
/// a browser more than all the pictures of the page.
constexpr std::size_t kOpenTableRows = 100;

std::string combinationTable(const Study& s, const std::string& folder) {
    std::string html = "<h2>Every combination</h2>\n" +
                       element("p",
                               "Mean ± standard deviation of the runs of each combination, "
                               "and the theory for its data.");
    html += s.combinations.size() > kOpenTableRows ? "<details>" : "<details open>";
    html +=
        "<summary>" + htmlText(cformat("%zu combinations", s.combinations.size())) + "</summary>\n";
    html += tableHead(s);
    for (const StudyCombination& c : s.combinations) {
        html += "<tr>";
        for (double v : c.values) html += "<td>" + htmlText(cformat("%g", v)) + "</td>";
        html += cformat("<td>%zu</td>", c.runs.size());
        for (int q = 0; q < kStudyQuantityCount; ++q)
            if (q != kStudyPorosity || s.porosityMeasured) html += statisticCells(c, q);
        const int votes = c.regimeCounts[std::size_t(c.regime)];
        html += regimeCell(c.regime, c.unanimous() ? std::string()
                                                   : cformat(" (%d of %zu)", votes, c.runs.size()));
        html += c.theory.regime ? regimeCell(*c.theory.regime) : std::string("<td>–</td>");
        html += "<td class=\"word\">" + htmlText(logRowsText(s, c)) + "</td></tr>\n";
    }
    return html + "</table>\n</details>\n<p><a href=\"" +
           htmlText(relativePicturePath(folder, "combinations.csv")) +
           "\">The table as CSV</a></p>\n";
}

std::string notes(const std::tm& written) {
    std::string html = "<h2>How to read the pictures</h2>\n";
    html += element("p",
                    "Error bars are the standard deviation (of a sample, n − 1) of the repeated "
                    "runs of a combination; a combination of one run has none. The theory is "
                    "Halvik's prediction for the data of each log row along the growth axis a: "
                    "dG′, σ′ and the lateral shares of the molecule (a, b, c, edges, vertices) "
                    "give the rate as a part of continuous growth, the roughness, the porosity "
                    "and the regime; its time to fill a layer is a / (rate × Vc). On the map the "
                    "theory's inputs are taken linearly between the combinations.");
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &written);
    html += "<p class=\"note\">" +
            htmlText(std::string("Written ") + date + " by Quorvane " + versionText() + ".") +
            "</p>\n";
    return html;
}

}  // namespace

std::string htmlText(std::string_view text) {
    // Control characters (other than tab and line end) have no place in a page.
    std::string kept;
    kept.reserve(text.size());
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') kept += c;
    return escapeHtml(kept);
}

std::string studyPage(const StudyPageInputs& in) {
    const Study& s = *in.study;
    std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    page += "<title>" + htmlText("Quorvane study report: " + lastPathComponent(s.logPath)) +
            "</title>\n<style>" + kStyle + regimeStyle() + "</style>\n</head>\n<body>\n";
    page += overview(s);
    page += originSection(s);
    page += figureSections(*in.figures, in.folderName);
    page += combinationTable(s, in.folderName);
    page += notes(in.written);
    return page + "</body>\n</html>\n";
}

}  // namespace quorvane
