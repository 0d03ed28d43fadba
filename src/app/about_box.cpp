#include "app/about_box.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "app/desktop_open.h"
#include "app/icons.h"
#include "platform/cp1251.h"
#include "platform/qt/form_metrics.h"
#include "platform/qt/qt_text.h"
#include "platform/text_pair.h"

namespace rz47 {
namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(Scaled(left), Scaled(top));
  return label;
}

void StyleAsLink(QLabel* label) {
  QFont font = FormFont(15);
  font.setUnderline(true);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::blue);
  label->setPalette(palette);
  label->setCursor(Qt::PointingHandCursor);
}

}  // namespace

QString ApplicationTitle() { return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName(); }

TAboutBox::TAboutBox(QWidget* parent, const VersionResource* info, std::string_view buildDate)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("AboutBox"));
  setFont(FormFont(14));
  setWindowIcon(ApplicationIcon());
  setFixedSize(Scaled(383), Scaled(443));

  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(ScaledRect(2, 2, 379, 439));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setLineWidth(2);
  Panel1->setAutoFillBackground(true);

  ProgramIcon = MakeLabel(Panel1, "ProgramIcon", 8, 8);
  ProgramIcon->resize(Scaled(359), Scaled(241));
  ProgramIcon->setScaledContents(true);
  ProgramIcon->setPixmap(AboutLogo(QSize(359, 241)));
  ProgramIcon->setCursor(Qt::PointingHandCursor);
  ProgramIcon->setToolTip(QStringLiteral("Открыть сайт производителя"));

  ProductName = MakeLabel(Panel1, "ProductName", 8, 256);
  Version = MakeLabel(Panel1, "Version", 8, 272);
  txtCopyright = MakeLabel(Panel1, "txtCopyright", 8, 288);
  Comments = MakeLabel(Panel1, "Comments", 8, 304);
  Comments->setWordWrap(true);
  Label1 = MakeLabel(Panel1, "Label1", 88, 304);
  Label1->resize(Scaled(110), Scaled(48));
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label1->setText(QString::fromUtf8(kPhones));
  Label2 = MakeLabel(Panel1, "Label2", 184, 304);

  LabelWWW = MakeLabel(Panel1, "LabelWWW", 8, 352);
  LabelWWW->setText(QString::fromUtf8(kSupportWeb));
  StyleAsLink(LabelWWW);
  LabelWWW->setToolTip(QStringLiteral("Открыть сайт производителя"));
  LabelEMail = MakeLabel(Panel1, "LabelEMail", 256, 352);
  LabelEMail->setText(QString::fromUtf8(kSupportMail));
  StyleAsLink(LabelEMail);
  LabelEMail->setToolTip(QStringLiteral("Написать письмо"));

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(ScaledRect(144, 392, 92, 31));
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  for (QLabel* clickable : {ProgramIcon, LabelWWW, LabelEMail}) clickable->installEventFilter(this);

  // The placeholders laid out with the window.
  Version->setText(QStringLiteral("Version"));
  txtCopyright->setText(QStringLiteral("Copyright"));
  Comments->setText(QStringLiteral("тел./факс."));
  Label2->setText(QStringLiteral("(многоканальный)"));
  FormCreate(info, buildDate);
  for (QLabel* label : {ProductName, Version, txtCopyright, Comments, Label2, LabelWWW, LabelEMail}) {
    label->adjustSize();
  }
  if (parent != nullptr) {
    move(parent->geometry().center() - rect().center());
  }
}

void TAboutBox::FormCreate(const VersionResource* info, std::string_view buildDate) {
  AboutTexts t = ComposeAboutTexts(info, buildDate, LangIndex);
  setWindowTitle(ToQString(t.caption));
  ProductName->setText(ToQString(t.productName));
  Version->setText(ToQString(t.version));
  txtCopyright->setText(ToQString(t.copyright));
  Comments->setText(ToQString(t.comments));
  Label2->setText(ToQString(t.label2));
}

void TAboutBox::LabelEMailClick() {
  std::string target = MailTarget(FromQString(LabelEMail->text()), FromQString(ApplicationTitle()));
  // Blanks stay as they are; QUrl's tolerant mode keeps the text readable for the mailer.
  OpenUrl(QUrl(ToQString(target), QUrl::TolerantMode));
}

void TAboutBox::LabelWWWClick() { OpenUrl(QUrl::fromUserInput(LabelWWW->text())); }

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == LabelEMail) LabelEMailClick();
    else if (watched == LabelWWW || watched == ProgramIcon) LabelWWWClick();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace rz47
