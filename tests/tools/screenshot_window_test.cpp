// The screenshot window against the simulated gauge: the framed picture pixel for
// pixel, the corner bytes, the colours, the bitmap file and the clipboard, a stale
// 100 on the gauge, a file that cannot be written, and closing during a read.
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "device/screen_raster.h"
#include "tool_test_support.h"
#include "tools/Unit5.h"
#include "tools/color_box.h"
#include "tools/tool_widgets.h"

namespace rz47 {

using test::BoxWatcher;
using test::SimulatedGauge;

namespace {

constexpr QRgb kMaroon = 0x800000;
constexpr QRgb kCream = 0xFFFBF0;

// The expected picture, read from the display bytes independently of the program:
// a frame on the outermost pixels, a blank margin, then the 128 x 64 dots.
QImage ExpectedPicture(const std::array<std::uint8_t, 1024>& screen, QRgb ink, QRgb paper) {
  QImage image(132, 68, QImage::Format_RGB32);
  image.fill(paper);
  for (int x = 0; x < 132; ++x) {
    image.setPixel(x, 0, ink);
    image.setPixel(x, 67, ink);
  }
  for (int y = 0; y < 68; ++y) {
    image.setPixel(0, y, ink);
    image.setPixel(131, y, ink);
  }
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 128; ++x) {
      if ((screen[static_cast<std::size_t>(128 * (y / 8) + x)] >> (y % 8)) & 1) image.setPixel(x + 2, y + 2, ink);
    }
  }
  return image;
}

// The first pixel where two pictures differ, for a readable failure.
QString FirstDifference(const QImage& actual, const QImage& expected) {
  if (actual.size() != expected.size()) return QStringLiteral("size differs");
  for (int y = 0; y < actual.height(); ++y) {
    for (int x = 0; x < actual.width(); ++x) {
      if (actual.pixel(x, y) != expected.pixel(x, y)) {
        return QStringLiteral("pixel (%1, %2): %3 instead of %4")
            .arg(x).arg(y).arg(actual.pixel(x, y) & 0xFFFFFF, 6, 16).arg(expected.pixel(x, y) & 0xFFFFFF, 6, 16);
      }
    }
  }
  return {};
}

sim::GaugeModel ModelWithScreen(int byteIndex, std::uint8_t value) {
  sim::GaugeModel model = sim::MakeDemoGaugeModel();
  model.screen.fill(0);
  if (byteIndex >= 0) model.screen[static_cast<std::size_t>(byteIndex)] = value;
  return model;
}

// Reads the screen and waits until the window has taken the picture.
bool ReadScreen(TForm5& form) {
  form.Button1Click();
  return QTest::qWaitFor([&] { return form.Button1->isEnabled() && !form.Timer1->isActive(); }, test::kJobWaitMs);
}

// Answers the picture dialog the next time it opens: with `path`, or cancels.
void AnswerPictureDialog(const QString& path) {
  QTimer::singleShot(0, [path] {
    QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<QFileDialog*>(QApplication::activeModalWidget()) != nullptr, test::kJobWaitMs);
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (path.isEmpty()) {
      dialog->reject();
    } else {
      dialog->selectFile(path);
      static_cast<QDialog*>(dialog)->accept();
    }
  });
}

}  // namespace

class ScreenshotWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { test::InstallGuiMechanisms(); }
  void cleanup() {
    SimulatedGauge::EndSessions();
    test::SetLanguage(0);
  }

  void textsAndStartState_data() {
    QTest::addColumn<int>("lang");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("ru") << 0
                        << QStringList{"Скриншот", "Обновить", "сохранять в *.bmp", "сохранять в буфер",
                                       "цвет надписи", "цвет фона"};
    QTest::newRow("en") << 1
                        << QStringList{"Screenshot", "Update", "save to *.bmp", "save to clipboard", "pen",
                                       "background"};
  }
  void textsAndStartState() {
    QFETCH(int, lang);
    QFETCH(QStringList, texts);
    test::SetLanguage(lang);
    TForm5 form;
    QCOMPARE((QStringList{form.windowTitle(), form.Button1->text(), form.CheckBox1->text(), form.CheckBox2->text(),
                          form.Label1->text(), form.Label2->text()}),
             texts);
    QCOMPARE(form.ColorBox1->Selected(), QColor(Qt::black));
    QCOMPARE(form.ColorBox2->Selected(), QColor(Qt::white));
    QVERIFY(!form.CheckBox1->isChecked());
    QVERIFY(!form.CheckBox2->isChecked());
    QVERIFY(!form.Timer1->isActive());
    QCOMPARE(form.Timer1->interval(), 500);
    QVERIFY(form.CGauge1->isHidden());
    QCOMPARE(form.Picture().size(), QSize(132, 68));
  }

  void demoDisplayPixelForPixel() {
    SimulatedGauge gauge;
    TForm5 form;
    form.ColorBox1->SetSelected(QColor::fromRgb(kMaroon));
    form.ColorBox2->SetSelected(QColor::fromRgb(kCream));
    QVERIFY(ReadScreen(form));
    const QImage expected = ExpectedPicture(gauge.Backend().Model().screen, kMaroon, kCream);
    QCOMPARE(FirstDifference(form.Picture(), expected), QString());
    QVERIFY(form.CGauge1->isHidden());
    QCOMPARE(form.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32), form.Picture());
  }

  // Besides the frame, one display byte lights exactly one pixel.
  void cornerBytes_data() {
    QTest::addColumn<int>("byteIndex");
    QTest::addColumn<int>("value");
    QTest::addColumn<QPoint>("lit");
    QTest::newRow("all zero") << -1 << 0 << QPoint(-1, -1);
    QTest::newRow("byte 0 bit 0") << 0 << 0x01 << QPoint(2, 2);
    QTest::newRow("byte 0 bit 7") << 0 << 0x80 << QPoint(2, 9);
    QTest::newRow("byte 127 bit 0") << 127 << 0x01 << QPoint(129, 2);
    QTest::newRow("byte 128 bit 0") << 128 << 0x01 << QPoint(2, 10);
    QTest::newRow("byte 1023 bit 7") << 1023 << 0x80 << QPoint(129, 65);
  }
  void cornerBytes() {
    QFETCH(int, byteIndex);
    QFETCH(int, value);
    QFETCH(QPoint, lit);
    SimulatedGauge gauge(ModelWithScreen(byteIndex, static_cast<std::uint8_t>(value)));
    TForm5 form;
    QVERIFY(ReadScreen(form));
    const QImage& picture = form.Picture();
    const QRgb black = qRgb(0, 0, 0);
    int inkInside = 0;
    for (int y = 1; y < 67; ++y) {
      for (int x = 1; x < 131; ++x) {
        if (picture.pixel(x, y) == black) {
          ++inkInside;
          QCOMPARE(QPoint(x, y), lit);
        }
      }
    }
    QCOMPARE(inkInside, lit.x() < 0 ? 0 : 1);
    QCOMPARE(picture.pixel(0, 0), black);
    QCOMPARE(picture.pixel(131, 67), black);
    QCOMPARE(picture.pixel(1, 1), qRgb(255, 255, 255));
  }

  void invertedColours() {
    SimulatedGauge gauge(ModelWithScreen(0, 0x01));
    TForm5 form;
    form.ColorBox1->SetSelected(Qt::white);
    form.ColorBox2->SetSelected(Qt::black);
    QVERIFY(ReadScreen(form));
    std::array<std::uint8_t, 1024> screen{};
    screen[0] = 0x01;
    QCOMPARE(FirstDifference(form.Picture(), ExpectedPicture(screen, 0xFFFFFF, 0x000000)), QString());
  }

  // A JPEG name still gets bitmap data, in the two colours exactly.
  void bitmapFileRoundTrip() {
    SimulatedGauge gauge;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shot.jpg"));
    TForm5 form;
    form.ColorBox1->SetSelected(QColor::fromRgb(kMaroon));
    form.ColorBox2->SetSelected(QColor::fromRgb(kCream));
    AnswerPictureDialog(path);
    form.CheckBox1->click();
    QCOMPARE(form.PictureFileName(), path);
    QVERIFY(ReadScreen(form));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(2), QByteArray("BM"));
    file.close();
    QImage back;
    QVERIFY(back.load(path, "BMP"));
    QCOMPARE(back.size(), QSize(132, 68));
    back = back.convertToFormat(QImage::Format_RGB32);
    const QImage expected = ExpectedPicture(gauge.Backend().Model().screen, kMaroon, kCream);
    QCOMPARE(FirstDifference(back, expected), QString());
  }

  void cancelledDialogSavesNothing() {
    SimulatedGauge gauge;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    TForm5 form;
    AnswerPictureDialog(QString());
    form.CheckBox1->click();
    QVERIFY(form.CheckBox1->isChecked());
    QCOMPARE(form.PictureFileName(), QString());
    QVERIFY(ReadScreen(form));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
  }

  void clipboardGetsThePicture() {
    SimulatedGauge gauge;
    QApplication::clipboard()->setText(QStringLiteral("old content"));
    TForm5 form;
    form.CheckBox2->setChecked(true);
    QVERIFY(ReadScreen(form));
    const QImage onClipboard = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(FirstDifference(onClipboard, ExpectedPicture(gauge.Backend().Model().screen, 0x000000, 0xFFFFFF)),
             QString());
  }

  // "Update" again: the 100 left by the first read must not end the second one.
  void staleHundredIsNotTaken() {
    SimulatedGauge gauge;
    TForm5 form;
    QVERIFY(ReadScreen(form));
    QCOMPARE(form.CGauge1->value(), 100);
    const QImage first = form.Picture();
    form.ColorBox1->SetSelected(Qt::red);
    form.Button1Click();
    form.Timer1Timer();  // a tick before the new worker has reported anything
    QVERIFY(form.Timer1->isActive());
    QVERIFY(!form.Button1->isEnabled());
    QCOMPARE(form.Picture(), first);
    QTRY_VERIFY_WITH_TIMEOUT(form.Button1->isEnabled(), test::kJobWaitMs);
    QCOMPARE(QColor(form.Picture().pixel(0, 0)), QColor(Qt::red));
  }

  void unwritableBitmapIsReportedOnce() {
    SimulatedGauge gauge;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/shot.bmp"));
    TForm5 form;
    AnswerPictureDialog(path);
    form.CheckBox1->click();
    QCOMPARE(form.PictureFileName(), path);
    BoxWatcher watcher;
    // The read has ended by the time the failure is told, so no later tick repeats it.
    bool readEndedBeforeBox = false;
    watcher.onBox = [&] { readEndedBeforeBox = !form.Timer1->isActive() && form.Button1->isEnabled(); };
    form.Button1Click();
    QTRY_COMPARE_WITH_TIMEOUT(watcher.boxes.size(), 1, test::kJobWaitMs);
    QVERIFY(readEndedBeforeBox);
    QVERIFY(watcher.boxes[0].text.startsWith(QStringLiteral("Не удалось записать файл")));
    QVERIFY(watcher.boxes[0].text.endsWith(path));
    QTRY_VERIFY_WITH_TIMEOUT(form.Button1->isEnabled(), test::kJobWaitMs);
    QVERIFY(!form.Timer1->isActive());
    QVERIFY(form.CGauge1->isHidden());
    QCOMPARE(watcher.boxes.size(), 1);
  }

  // No gauge answers: the status line says so where the user can see it; closing the
  // window ends the read and says the screenshot was not read.
  void closingDuringAReadCancelsIt() {
    sim::GaugeFaults faults;
    faults.silent = true;
    SimulatedGauge gauge(sim::MakeDemoGaugeModel(), faults);
    TForm5 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Button1Click();
    QTRY_COMPARE_WITH_TIMEOUT(form.Label3->text(), QStringLiteral("Проверьте подключение"), test::kJobWaitMs);
    QVERIFY(form.Label3->isVisible());
    QVERIFY(form.rect().contains(form.Label3->geometry()));
    BoxWatcher watcher;
    form.reject();
    QTRY_COMPARE_WITH_TIMEOUT(watcher.boxes.size(), 1, test::kJobWaitMs);
    QCOMPARE(watcher.boxes[0].text, QStringLiteral("Скриншот не считан"));
    QCOMPARE(watcher.boxes[0].caption, QStringLiteral("Внимание"));
    QTRY_VERIFY_WITH_TIMEOUT(!SessionRunning(), test::kJobWaitMs);
    QVERIFY(!form.isVisible());
    QVERIFY(form.Button1->isEnabled());
  }
};

}  // namespace rz47

QTEST_MAIN(rz47::ScreenshotWindowTest)
#include "screenshot_window_test.moc"
