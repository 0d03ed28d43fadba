// TForm5: the screenshot window. "Update" starts the screen job; a 500 ms timer
// watches the window's progress gauge and, once it reads 100, draws the gauge's
// display image framed (132 x 68) in the ink and paper colours chosen at that moment,
// shows it stretched to 400 x 200, and saves it to the chosen bitmap file and/or the
// clipboard when the boxes are ticked.
//
// The gauge is set to 0 when a read starts, so the 100 of an earlier read is never
// taken for the end of a new one. Closing the window while a read still waits for
// the gauge cancels it and says that the screenshot was not read. A picture that
// cannot be stored is reported once; the read ends normally all the same. The window
// must outlive its worker (JobEnded tells when it may go). GUI thread only.
#pragma once

#include <QDialog>
#include <QImage>
#include <memory>

#include "device/screen_raster.h"

class QCheckBox;
class QFileDialog;
class QLabel;
class QPushButton;
class QTimer;

namespace rz47 {

class BMTreadUSB;
class ColorBox;
class StatusLabel;
class ToolGauge;

// The framed picture in two colours: ink where the raster is set, paper elsewhere.
QImage DrawScreenPicture(const ScreenRaster& raster, const QColor& ink, const QColor& paper);

class TForm5 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm5(QWidget* parent = nullptr);
  ~TForm5() override;

  // The 132 x 68 picture of the last read (blank before the first).
  const QImage& Picture() const { return picture_; }
  // The bitmap file name the picture dialog holds (empty until one is confirmed).
  const QString& PictureFileName() const { return pictureFileName_; }
  bool JobRunning() const;

  void FormCreate();
  void Button1Click();
  void Timer1Timer();
  void CheckBox1Click();

  // Controls, by their designer names.
  QPushButton* Button1 = nullptr;
  ColorBox* ColorBox1 = nullptr;
  ColorBox* ColorBox2 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  ToolGauge* CGauge1 = nullptr;
  StatusLabel* Label3 = nullptr;
  QTimer* Timer1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QFileDialog* OpenPictureDialog1 = nullptr;
  QLabel* Image1 = nullptr;

 signals:
  // The window's job has ended (after its last hand-over).
  void JobEnded();

 public slots:
  void done(int result) override;

 private:
  void SaveBitmap(const ScreenRaster& raster, const QColor& ink, const QColor& paper);
  void CopyToClipboard();
  void WatchJob();

  QImage picture_;
  QString pictureFileName_;
  std::shared_ptr<BMTreadUSB> worker_;
  QTimer* jobWatch_ = nullptr;
};

}  // namespace rz47
