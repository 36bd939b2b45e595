#pragma once
/// The Help panel (`m_Help`): the table of contents of the program's help
/// pages, the site label that opens their index, and the choice of the run
/// log file. The pages are local HTML files shipped with the program.

#include <QAbstractButton>
#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "experiments/app_state.h"
#include "ui/help_pages.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace Ui {
class HelpPanel;
}

namespace quorvane {

class QtPlatform;

/// A content entry drawn as a link: one line, vertically centred, elided,
/// in the link colour, and on hover in the hover colour.
class LinkButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit LinkButton(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    bool hovered() const { return hovered_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    bool hovered_ = false;
};

class HelpPanel : public QWidget {
    Q_OBJECT
  public:
    /// One content entry: its caption and the page it opens.
    struct Entry {
        const char* caption;
        const char* page;
    };
    /// In the order shown, top to bottom.
    static constexpr std::array<Entry, 8> kEntries{{
        {"Formulation of the problem", "formulation.html"},
        {"Scientific background", "physical_background.html"},
        {"The algorithm the numerical simulation.", "fast_algorithm.html"},
        {"Data panel", "data_panel.html"},
        {"Runs panel", "run_panel.html"},
        {"View panel", "view_panel.html"},
        {"Results panel", "results_panel.html"},
        {"Help panel", "help_panel.html"},
    }};
    static constexpr const char* kIndexPage = "index.html";

    HelpPanel(AppState& state, QtPlatform& platform, QWidget* parent = nullptr);
    ~HelpPanel() override;

    /// `m_Help` in the program's own words.
    using m_Help = HelpPanel;

    /// Copies the shipped pages into the working folder's "help" folder at
    /// the first start (and when the program brings newer ones).
    void installPages(const std::string& workingFolder);
    /// The folder the pages are opened from.
    QString pagesFolder() const;
    /// The full path of a page, empty when no pages were found.
    QString pagePath(const char* page) const;

    LinkButton* entry(int i) const { return entries_[i]; }
    QLabel* siteLabel() const;
    QPlainTextEdit* logPathBox() const;
    QPushButton* browseButton() const;
    QPushButton* openButton() const;

    /// Browse: choose the run log file.
    void browseLogFile();
    /// Open: the run log in its default program.
    void openLogFile();
    /// Shows the paths as they are now.
    void refresh();
    /// Browse is held while a run goes on (the log of a run stays its log).
    void refreshEnabled();

  private:
    /// The fonts and colours of the panel's texts.
    void applyLook();
    /// The links of the form, top to bottom, take the entries' captions and pages.
    void bindEntries();
    void openPage(const char* page);

    AppState& state_;
    QtPlatform& platform_;
    std::unique_ptr<Ui::HelpPanel> ui_;
    QString installedFolder_;
    std::array<LinkButton*, 8> entries_{};
};

}  // namespace quorvane
