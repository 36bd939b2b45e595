#pragma once
/// The keys that act across the panels of the program's window, seen before
/// the widget they go to: a size field of the Data panel scaled by Ctrl or Alt
/// with a digit held, the Data panel's copy keys, and the View panel's camera
/// keys, several of which act when held together.

#include <QPointer>
#include <QSet>
#include <QWidget>

#include "views/surface_camera.h"

class QEvent;
class QKeyEvent;

namespace quorvane {

class MainWindow;

/// The camera's view of the keys held (Qt::Key codes, keypad digits with
/// `WindowKeys::kKeypadBit` added) and the modifiers.
views::CameraKeys cameraKeysOf(const QSet<int>& keys, Qt::KeyboardModifiers modifiers);

class WindowKeys {
  public:
    /// Keypad digits are kept apart from the digit row, since only the row's
    /// digits scale sizes and only the keypad's turn the camera.
    static constexpr int kKeypadBit = 0x40000000;

    explicit WindowKeys(MainWindow& window) : window_(window) {}

    /// A key pressed at `watched`; true when it was used and goes no further.
    bool pressed(QObject* watched, const QKeyEvent& key);
    void released(const QKeyEvent& key);
    /// The window lost the keyboard: no key is held any more.
    void clear() { down_.clear(); }

  private:
    /// The panel on the tab shown.
    QWidget* shown() const;
    /// False, with nothing recorded, for the key last taken on its way up to
    /// the parents of the widget it arrived at: a key no widget takes passes
    /// the window's filter again at every parent.
    bool take(const QKeyEvent& key, QWidget* target);
    /// Size scaling of the focused Data size field; true when the key was used.
    bool scaleFocusedSize(const QKeyEvent& key, QWidget* target);
    /// Camera keys while the View panel is shown; true when the key was used.
    bool forwardCameraKeys(Qt::KeyboardModifiers modifiers);

    MainWindow& window_;
    /// Qt::Key codes, keypad digits with `kKeypadBit` added.
    QSet<int> down_;
    /// The key press last taken, to know it again while it travels to the parents.
    struct SeenKey {
        const QEvent* event = nullptr;
        int key = 0;
        quint64 timestamp = 0;
        QPointer<QWidget> receiver;
    } last_;
};

}  // namespace quorvane
