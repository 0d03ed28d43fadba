// The About window's texts and links.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/about_box.h"
#include "app/about_texts.h"
#include "app/desktop_open.h"
#include "platform/qt/qt_text.h"

namespace rz47 {
namespace {

std::string TranslationBytes(unsigned language, unsigned codePage) {
  return std::string{static_cast<char>(language & 0xFF), static_cast<char>(language >> 8),
                     static_cast<char>(codePage & 0xFF), static_cast<char>(codePage >> 8)};
}

VersionResource Resource(unsigned language, unsigned codePage, bool withVersion = true,
                         bool withCopyright = true) {
  VersionResource r;
  r.values["\\VarFileInfo\\Translation"] = TranslationBytes(language, codePage);
  std::string base = "\\StringFileInfo\\" + TranslationKey(language, codePage) + "\\";
  if (withVersion) r.values[base + "FileVersion"] = "1.0.0.0";
  if (withCopyright) r.values[base + "LegalCopyright"] = "(c) Maker";
  return r;
}

const VersionResource kRussian = Resource(0x0419, 0x04E3);
const VersionResource kUnicode = Resource(0x0409, 0x04B0);
const VersionResource kNoCopyright = Resource(0x0419, 0x04E3, true, false);
const VersionResource kShortTranslation = [] {
  VersionResource r = Resource(0x0419, 0x04E3);
  r.values["\\VarFileInfo\\Translation"] = "ab";
  return r;
}();
const VersionResource kEmpty;

}  // namespace
}  // namespace rz47

Q_DECLARE_METATYPE(const rz47::VersionResource*)

namespace rz47 {

class AboutBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void translationKeyIsEightUpperCaseHexDigits() {
    QCOMPARE(QString::fromStdString(TranslationKey(0x0419, 0x04E3)), QStringLiteral("041904E3"));
    QCOMPARE(QString::fromStdString(TranslationKey(0x0409, 0x04B0)), QStringLiteral("040904B0"));
  }

  void texts_data() {
    QTest::addColumn<const VersionResource*>("info");
    QTest::addColumn<QString>("buildDate");
    QTest::addColumn<int>("lang");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("copyright");
    QTest::addColumn<QString>("comments");
    QTest::addColumn<QString>("label2");
    const QString ruComments = "тел./факс. ", enComments = "tel./fax";
    const QString ruLabel2 = " многоканальный ", enLabel2 = " multichannel ";
    QTest::newRow("ru april") << &kRussian << "Apr 21 2015" << 0 << "Версия 1.0.0.0 от 21 апреля 2015 г."
                              << "(c) Maker" << ruComments << ruLabel2;
    QTest::newRow("en april") << &kRussian << "Apr 21 2015" << 1 << "Version 1.0.0.0 of 21 apri 2015 г."
                              << "(c) Maker" << enComments << enLabel2;
    QTest::newRow("the 5th") << &kRussian << "Jun  5 2014" << 1 << "Version 1.0.0.0 of 5 june 2014 г."
                             << "(c) Maker" << enComments << enLabel2;
    QTest::newRow("december ru") << &kRussian << "Dec 31 2026" << 0 << "Версия 1.0.0.0 от 31 декабря 2026 г."
                                 << "(c) Maker" << ruComments << ruLabel2;
    QTest::newRow("unknown month") << &kRussian << "Xyz 10 2015" << 0 << "Версия 1.0.0.0 от 10 января 2015 г."
                                   << "(c) Maker" << ruComments << ruLabel2;
    QTest::newRow("lower-case month") << &kRussian << "apr 10 2015" << 1 << "Version 1.0.0.0 of 10 january 2015 г."
                                      << "(c) Maker" << enComments << enLabel2;
    QTest::newRow("unicode translation") << &kUnicode << "Apr 21 2015" << 1 << "Version 1.0.0.0 of 21 apri 2015 г."
                                         << "(c) Maker" << enComments << enLabel2;
    QTest::newRow("no copyright") << &kNoCopyright << "Apr 21 2015" << 1 << "Version 1.0.0.0 of 21 apri 2015 г."
                                  << "Copyright" << enComments << enLabel2;
    QTest::newRow("short translation") << &kShortTranslation << "Apr 21 2015" << 1 << "Version"
                                       << "Copyright" << enComments << enLabel2;
    QTest::newRow("no version info") << &kEmpty << "Apr 21 2015" << 1 << "Version"
                                     << "Copyright" << "тел./факс." << "(многоканальный)";
    QTest::newRow("date of two fields") << &kRussian << "Apr 21" << 1 << "Version"
                                        << "Copyright" << "тел./факс." << "(многоканальный)";
  }

  void texts() {
    QFETCH(const VersionResource*, info);
    QFETCH(QString, buildDate);
    QFETCH(int, lang);
    QFETCH(QString, version);
    QFETCH(QString, copyright);
    QFETCH(QString, comments);
    QFETCH(QString, label2);
    const AboutTexts t = ComposeAboutTexts(info, buildDate.toStdString(), lang);
    QCOMPARE(ToQString(t.version), version);
    QCOMPARE(ToQString(t.copyright), copyright);
    QCOMPARE(ToQString(t.comments), comments);
    QCOMPARE(ToQString(t.label2), label2);
    QCOMPARE(ToQString(t.caption), lang == 0 ? QStringLiteral("О приборе") : QStringLiteral("About"));
    QCOMPARE(ToQString(t.productName), lang == 0 ? QStringLiteral("РЗ-4.7") : QStringLiteral("RZ-4.7"));
  }

  void mailTargetKeepsBlanks() {
    QCOMPARE(QString::fromStdString(MailTarget("support@example.org", "My Gauge Tool")),
             QStringLiteral("mailto:support@example.org?Subject=My Gauge Tool"));
  }

  void windowShowsTheTextsAndOpensItsLinks() {
    LangIndex = 1;
    TAboutBox box(nullptr, &kRussian, "Apr 21 2015");
    QCOMPARE(box.windowTitle(), QStringLiteral("About"));
    QCOMPARE(box.Version->text(), QStringLiteral("Version 1.0.0.0 of 21 apri 2015 г."));
    QCOMPARE(box.OKButton->text(), QStringLiteral("OK"));
    QVERIFY(box.OKButton->isDefault());
    QList<QUrl> opened;
    UrlOpener previous = SetUrlOpener([&](const QUrl& url) { opened << url; });
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(box.LabelEMail, Qt::LeftButton);
    QTest::mouseClick(box.LabelWWW, Qt::LeftButton);
    QTest::mouseClick(box.ProgramIcon, Qt::LeftButton);
    SetUrlOpener(previous);
    LangIndex = 0;
    QCOMPARE(opened.size(), 3);
    QCOMPARE(opened[0].scheme(), QStringLiteral("mailto"));
    QCOMPARE(opened[0].toString(QUrl::PrettyDecoded),
             QStringLiteral("mailto:") + box.LabelEMail->text() + QStringLiteral("?Subject=") + ApplicationTitle());
    QCOMPARE(opened[1], QUrl::fromUserInput(box.LabelWWW->text()));
    QCOMPARE(opened[2], opened[1]);
  }
};

}  // namespace rz47

QTEST_MAIN(rz47::AboutBoxTest)
#include "about_box_test.moc"
