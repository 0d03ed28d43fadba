#include "tools/Unit5.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>

#include "device/bmtread_usb.h"
#include "device/link_state.h"
#include "platform/message_box.h"
#include "platform/qt/form_metrics.h"
#include "platform/qt/qt_text.h"
#include "tools/color_box.h"
#include "tools/tool_session.h"
#include "tools/tool_texts.h"
#include "tools/tool_widgets.h"

namespace rz47 {
namespace {

// The designed client area is 423 x 353; it is a little taller here so that the
// status line sits inside it and the user sees why a read does not finish.
constexpr int kClientWidth = 423;
constexpr int kClientHeight = 362;
constexpr int kReadPollMs = 500;
constexpr int kJobWatchMs = 50;

RgbColor ToRgb(const QColor& color) {
  return {static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
          static_cast<std::uint8_t>(color.blue())};
}

template <typename Widget>
Widget* Place(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* widget = new Widget(parent);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(ScaledRect(left, top, width, height));
  return widget;
}

}  // namespace

QImage DrawScreenPicture(const ScreenRaster& raster, const QColor& ink, const QColor& paper) {
  QImage image(kRasterWidth, kRasterHeight, QImage::Format_RGB32);
  const QRgb inkRgb = ink.rgb();
  const QRgb paperRgb = paper.rgb();
  for (int x = 0; x < kRasterWidth; ++x) {
    for (int y = 0; y < kRasterHeight; ++y) image.setPixel(x, y, raster.Pixel(x, y) ? inkRgb : paperRgb);
  }
  return image;
}

TForm5::TForm5(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("Form5"));
  setFont(FormFont(14));
  setFixedSize(Scaled(kClientWidth), Scaled(kClientHeight));

  Button1 = Place<QPushButton>(this, "Button1", 13, 232, 399, 32);
  Button1->setAutoDefault(false);
  ColorBox1 = Place<ColorBox>(this, "ColorBox1", 15, 312, 47, 22);
  ColorBox2 = Place<ColorBox>(this, "ColorBox2", 240, 312, 47, 22);
  ColorBox1->SetSelected(Qt::black);
  ColorBox2->SetSelected(Qt::white);
  Label1 = Place<QLabel>(this, "Label1", 69, 315, 0, 0);
  Label2 = Place<QLabel>(this, "Label2", 296, 315, 0, 0);
  CheckBox1 = Place<QCheckBox>(this, "CheckBox1", 14, 280, 159, 20);
  CGauge1 = Place<ToolGauge>(this, "CGauge1", 12, 216, 401, 9);
  CGauge1->setVisible(false);
  Label3 = Place<StatusLabel>(this, "Label3", 15, 340, 0, 0);
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kReadPollMs);
  CheckBox2 = Place<QCheckBox>(this, "CheckBox2", 240, 280, 159, 21);
  OpenPictureDialog1 = new QFileDialog(this);
  OpenPictureDialog1->setObjectName(QStringLiteral("OpenPictureDialog1"));
  OpenPictureDialog1->setFileMode(QFileDialog::AnyFile);  // a new name may be typed
  OpenPictureDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  OpenPictureDialog1->setOption(QFileDialog::DontUseNativeDialog);
  OpenPictureDialog1->setNameFilters({QStringLiteral("All pictures (*.bmp *.jpg *.jpeg *.png *.gif *.ico)"),
                                      QStringLiteral("Bitmaps (*.bmp)"),
                                      QStringLiteral("JPEG images (*.jpg *.jpeg)"),
                                      QStringLiteral("PNG images (*.png)"), QStringLiteral("All files (*)")});
  Image1 = Place<QLabel>(this, "Image1", 12, 8, 400, 200);
  Image1->setScaledContents(true);

  jobWatch_ = new QTimer(this);
  jobWatch_->setInterval(kJobWatchMs);

  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
  connect(jobWatch_, &QTimer::timeout, this, [this] { WatchJob(); });

  FormCreate();
  if (parent != nullptr) move(parent->geometry().center() - rect().center());
}

TForm5::~TForm5() {
  // The worker refers to this window's controls until it has ended.
  CancelAndWaitForToolJob(worker_);
}

void TForm5::FormCreate() {
  picture_ = QImage(kRasterWidth, kRasterHeight, QImage::Format_RGB32);
  picture_.fill(Qt::white);
  Image1->setPixmap(QPixmap::fromImage(picture_));
  setWindowTitle(QText(texts::kScreenshotCaption));
  Button1->setText(QText(texts::kScreenshotUpdate));
  CheckBox1->setText(QText(texts::kSaveToBmp));
  CheckBox2->setText(QText(texts::kSaveToClipboard));
  Label1->setText(QText(texts::kPenColour));
  Label2->setText(QText(texts::kBackgroundColour));
  Label1->adjustSize();
  Label2->adjustSize();
}

bool TForm5::JobRunning() const { return rz47::JobRunning(worker_); }

void TForm5::Button1Click() {
  if (Timer1->isActive()) return;  // a read of this window is still on its way
  CGauge1->setValue(0);
  worker_ = StartToolJob(JobReadScreen, {CGauge1, Label3, nullptr, ScreenImage.data()});
  if (worker_ == nullptr) return;
  jobWatch_->start();
  Timer1->start();
  CGauge1->setVisible(true);
  Button1->setEnabled(false);
}

void TForm5::Timer1Timer() {
  if (CGauge1->value() != 100) return;
  const ScreenRaster raster = FramedScreenRaster(ScreenImage);
  // The colours count as they are now; a later choice waits for the next read.
  const QColor ink = ColorBox1->Selected();
  const QColor paper = ColorBox2->Selected();
  picture_ = DrawScreenPicture(raster, ink, paper);
  Image1->setPixmap(QPixmap::fromImage(picture_));
  // The read ends first: a failure reported below shows its box once instead of
  // being repeated by every later tick while the box is up.
  Timer1->stop();
  CGauge1->setVisible(false);
  Button1->setEnabled(true);
  if (CheckBox1->isChecked() && !pictureFileName_.isEmpty()) SaveBitmap(raster, ink, paper);
  if (CheckBox2->isChecked()) CopyToClipboard();
}

void TForm5::SaveBitmap(const ScreenRaster& raster, const QColor& ink, const QColor& paper) {
  // Bitmap data whatever the extension; the file is replaced only once it is whole.
  const std::vector<std::uint8_t> bytes = WriteBmp(raster, ToRgb(ink), ToRgb(paper));
  QSaveFile file(pictureFileName_);
  file.setDirectWriteFallback(true);
  const bool written = file.open(QIODevice::WriteOnly) &&
                       file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
                           static_cast<qint64>(bytes.size()) &&
                       file.commit();
  if (!written) {
    ShowMessageBox(Text(texts::kBitmapNotWritten) + FromQString(pictureFileName_), Text(texts::kWarning),
                   kMbStopOk);
  }
}

void TForm5::CopyToClipboard() {
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->setImage(picture_);
  const QMimeData* data = clipboard->mimeData();
  if (data == nullptr || !data->hasImage()) {
    ShowMessageBox(Text(texts::kClipboardNotSet), Text(texts::kWarning), kMbStopOk);
  }
}

void TForm5::CheckBox1Click() {
  if (!CheckBox1->isChecked()) return;
  if (!pictureFileName_.isEmpty()) OpenPictureDialog1->selectFile(pictureFileName_);
  if (OpenPictureDialog1->exec() == QDialog::Accepted && !OpenPictureDialog1->selectedFiles().isEmpty()) {
    pictureFileName_ = OpenPictureDialog1->selectedFiles().constFirst();
  }
}

void TForm5::WatchJob() {
  if (JobRunning()) return;
  jobWatch_->stop();
  emit JobEnded();
}

void TForm5::done(int result) {
  if (Timer1->isActive()) {
    if (CGauge1->value() == 100) {
      Timer1Timer();  // the read has ended; the picture is taken as the next tick would
    } else {
      CancelToolJob(worker_);
      Timer1->stop();
      CGauge1->setVisible(false);
      Button1->setEnabled(true);
      QDialog::done(result);
      ShowMessageBox(Text(texts::kScreenshotNotRead), Text(texts::kWarning), kMbStopOk);
      return;
    }
  }
  QDialog::done(result);
}

}  // namespace rz47
