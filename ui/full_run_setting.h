#pragma once
/// The dialog "Setting of one experiment of full research": which
/// incorporation probabilities a full run tries (a loop or a list), how
/// porosity is simulated, and when an experiment ends early.

#include <QDialog>
#include <memory>

#include "common/platform.h"
#include "model/research_settings.h"

namespace Ui {
class FullRunSetting;
}

namespace quorvane {

class FullRunSetting : public QDialog {
    Q_OBJECT
  public:
    FullRunSetting(ResearchSettings& settings, Platform& platform, QWidget* parent = nullptr);
    ~FullRunSetting() override;

    /// Fills the controls from the settings (done before every showing).
    void loadControls();
    /// OK (1094): the controls into the settings and Update; the dialog closes
    /// only when nothing is left to fix.
    void pressOk();
    /// Update (1104, hidden; the Enter key): the controls into the settings,
    /// validation, and the value list rebuilt. True when nothing was wrong.
    bool updateSettings();

    /// The control with the given identifier (edits, check boxes, combo box, OK).
    QWidget* control(int id) const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    /// The texts and switches into the settings; false (with the message and
    /// the focus on the field) when an integer field holds no usable number.
    bool storeControls();
    void chooseSource(bool loop);
    void focusControl(int id);

    ResearchSettings& settings_;
    Platform& platform_;
    std::unique_ptr<Ui::FullRunSetting> ui_;
};

/// The message shown when "Interpolation with" holds no integer 0..10.
inline constexpr const char* kInterpolationRangeMessage =
    "Please enter an integer between 0 and 10.";
/// The message shown when the layer threshold holds no integer.
inline constexpr const char* kIntegerMessage = "Please enter an integer.";

}  // namespace quorvane
