// ColorBox: a colour drop-down list (a swatch and a name per entry) offering the
// sixteen standard colours, four extended ones and the system colours of the current
// palette. The screenshot window uses two of them for its ink and paper colours.
// GUI thread only.
#pragma once

#include <QColor>
#include <QComboBox>

namespace rz47 {

class ColorBox : public QComboBox {
  Q_OBJECT
 public:
  explicit ColorBox(QWidget* parent = nullptr);

  // The chosen colour (black when nothing is chosen).
  QColor Selected() const;
  // Chooses the first entry of that colour; a colour not offered is ignored.
  void SetSelected(const QColor& color);
};

}  // namespace rz47
