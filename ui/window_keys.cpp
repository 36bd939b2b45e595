#include "ui/window_keys.h"

#include <QKeyEvent>
#include <QTabWidget>
#include <cmath>

#include "ui/data_panel.h"
#include "ui/main_window.h"

namespace quorvane {

namespace {

int keyCode(const QKeyEvent& key) {
    const int code = key.key();
    const bool digit = code >= Qt::Key_0 && code <= Qt::Key_9;
    return digit && (key.modifiers() & Qt::KeypadModifier) ? code | WindowKeys::kKeypadBit : code;
}

/// The factor a size is scaled by: the highest digit 2..9 held, or the
/// square root of 2 while "O" is held; 1 when none is.
double sizeFactor(const QSet<int>& keys) {
    double factor = 1;
    for (int digit = 2; digit <= 9; ++digit)
        if (keys.contains(Qt::Key_0 + digit)) factor = digit;
    if (keys.contains(Qt::Key_O)) factor = std::sqrt(2.0);
    return factor;
}

}  // namespace

views::CameraKeys cameraKeysOf(const QSet<int>& keys, Qt::KeyboardModifiers modifiers) {
    views::CameraKeys k;
    k.up = keys.contains(Qt::Key_Up);
    k.down = keys.contains(Qt::Key_Down);
    k.left = keys.contains(Qt::Key_Left);
    k.right = keys.contains(Qt::Key_Right);
    auto pad = [&keys](int digit) {
        return keys.contains((Qt::Key_0 + digit) | WindowKeys::kKeypadBit);
    };
    k.pad1 = pad(1);
    k.pad2 = pad(2);
    k.pad3 = pad(3);
    k.pad4 = pad(4);
    k.pad6 = pad(6);
    k.pad7 = pad(7);
    k.pad8 = pad(8);
    k.pad9 = pad(9);
    k.control = modifiers & Qt::ControlModifier;
    k.alt = modifiers & Qt::AltModifier;
    k.s = keys.contains(Qt::Key_S);
    k.r = keys.contains(Qt::Key_R);
    return k;
}

QWidget* WindowKeys::shown() const {
    return window_.panel(window_.tabs()->currentIndex());
}

bool WindowKeys::pressed(QObject* watched, const QKeyEvent& key) {
    if (!watched->isWidgetType()) return false;
    auto* target = static_cast<QWidget*>(watched);
    if (target != &window_ && !window_.isAncestorOf(target)) return false;
    if (!take(key, target)) return false;
    if (scaleFocusedSize(key, target)) return true;
    DataPanel* data = window_.dataPanel();
    if (shown() == data && data->copyKey(key, target)) return true;
    return forwardCameraKeys(key.modifiers());
}

void WindowKeys::released(const QKeyEvent& key) {
    if (!key.isAutoRepeat()) down_.remove(keyCode(key));
}

bool WindowKeys::take(const QKeyEvent& key, QWidget* target) {
    const bool travelling = &key == last_.event && key.key() == last_.key &&
                            key.timestamp() == last_.timestamp && last_.receiver &&
                            target != last_.receiver && target->isAncestorOf(last_.receiver);
    if (travelling) return false;
    last_ = {&key, key.key(), key.timestamp(), target};
    down_.insert(keyCode(key));
    return true;
}

bool WindowKeys::scaleFocusedSize(const QKeyEvent& key, QWidget* target) {
    DataPanel* data = window_.dataPanel();
    if (shown() != data) return false;
    const int field = data->sizeControlOf(target);
    if (field == 0) return false;
    const double factor = sizeFactor(down_);
    if (factor < 1.1 || factor > 9) return false;
    const bool ctrl = key.modifiers() & Qt::ControlModifier;
    const bool alt = key.modifiers() & Qt::AltModifier;
    if (!ctrl && !alt) return false;
    if (ctrl) data->scaleSize(field, 1, factor);
    if (alt) data->scaleSize(field, 0, factor);
    return true;
}

bool WindowKeys::forwardCameraKeys(Qt::KeyboardModifiers modifiers) {
    if (window_.tabs()->currentIndex() != MainWindow::kViewTab) return false;
    QWidget* view = shown();
    bool used = false;
    if (window_.cameraKeys && window_.cameraKeys(cameraKeysOf(down_, modifiers))) {
        view->repaint();
        used = true;
    }
    if (window_.cameraReset && down_.contains(Qt::Key_I)) {
        window_.cameraReset();
        view->repaint();
        used = true;
    }
    return used;
}

}  // namespace quorvane
