// rz47-render-icons OUT_DIR SVG NAME CONTEXT: renders an SVG icon into the hicolor
// PNG sizes (OUT_DIR/<n>x<n>/CONTEXT/NAME.png), so the packaged PNGs always match the
// SVG they come from.
#include <QGuiApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 5) {
    std::fprintf(stderr, "usage: rz47-render-icons OUT_DIR SVG NAME CONTEXT\n");
    return 1;
  }
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[2]));
  if (!renderer.isValid()) {
    std::fprintf(stderr, "rz47-render-icons: cannot read %s\n", argv[2]);
    return 1;
  }
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    QDir dir(QStringLiteral("%1/%2x%2/%3").arg(QString::fromLocal8Bit(argv[1])).arg(size).arg(QString::fromLocal8Bit(argv[4])));
    dir.mkpath(QStringLiteral("."));
    if (!image.save(dir.filePath(QString::fromLocal8Bit(argv[3]) + QStringLiteral(".png")))) {
      std::fprintf(stderr, "rz47-render-icons: cannot write into %s\n", qPrintable(dir.path()));
      return 1;
    }
  }
  return 0;
}
