#pragma once
/// Field widths from the font rather than from fixed pixels: a field is as wide
/// as the widest text it shows, in its own font and style, at any font size and
/// screen scale.

class QLineEdit;
class QString;

namespace quorvane {

/// The width `edit` needs to show `text` whole, frame and margins included.
int widthForText(const QLineEdit& edit, const QString& text);
/// Fixes the width of `edit` to what `characters` of its widest digit need.
void fitToDigits(QLineEdit& edit, int characters);

}  // namespace quorvane
