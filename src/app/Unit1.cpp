#include "app/Unit1.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>

#include "app/about_box.h"
#include "app/desktop_open.h"
#include "app/icons.h"
#include "app/main_texts.h"
#include "app/message_boxes.h"
#include "app/string_grid_view.h"
#include "platform/qt/form_metrics.h"
#include "platform/qt/qt_text.h"
#include "table/columns.h"
#include "table/qt/grid_model.h"

namespace rz47 {
namespace {

// Client area at 120 ppi (without menu bar and status line).
constexpr int kClientWidth = 892;
constexpr int kClientHeight = 521;
constexpr int kStatusHeight = 19;
constexpr int kMinWindowWidth = 400;

QAction* AddItem(QMenu* menu, const char* name, int icon) {
  QAction* action = menu->addAction(MenuIcon(icon), QString());
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Form1"));
  setFont(FormFont(14));
  setWindowIcon(ApplicationIcon());
  CreateControls();
  CreateMenus();
  CreateDialogs();
  ConnectTable();
  // FormCreate: the window always starts in Russian.
  LangIndex = 0;
  SetLang();
}

TForm1::~TForm1() = default;

void TForm1::CreateControls() {
  client_ = new QWidget(this);
  client_->setMouseTracking(true);
  setMouseTracking(true);
  setCentralWidget(client_);

  Button1 = new QPushButton(client_);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button3 = new QPushButton(client_);
  Button3->setObjectName(QStringLiteral("Button3"));

  ApplyStandardWidths(grid_);
  model_ = new GridModel(grid_, this);
  StringGrid1 = new StringGridView(client_);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->SetGridModel(model_);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  StatusBar1->setFixedHeight(Scaled(kStatusHeight));
  statusLabel_ = new QLabel(StatusBar1);
  StatusBar1->addWidget(statusLabel_, 1);
  setStatusBar(StatusBar1);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  Delete = PopupMenu1->addAction(QString());
  Delete->setObjectName(QStringLiteral("Delete"));
  connect(Delete, &QAction::triggered, this, &TForm1::DeleteClick);

  connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);

  // The window sees F1 before the focused control.
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  f1->setContext(Qt::WindowShortcut);
  connect(f1, &QShortcut::activated, this, &TForm1::FormKeyDownF1);

  resize(Scaled(kClientWidth), Scaled(kClientHeight));
  setMinimumWidth(Scaled(kMinWindowWidth));
}

void TForm1::CreateMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  File = bar->addMenu(QString());
  File->setObjectName(QStringLiteral("File"));
  New = AddItem(File, "New", 0);
  Open = AddItem(File, "Open", 1);
  Save = AddItem(File, "Save", 2);
  SaveAs = AddItem(File, "SaveAs", 2);
  SaveExel = AddItem(File, "SaveExel", 3);
  File->addSeparator()->setObjectName(QStringLiteral("N1"));
  Print = AddItem(File, "Print", 4);
  File->addSeparator()->setObjectName(QStringLiteral("N2"));
  Exit = AddItem(File, "Exit", 5);

  Edit = bar->addMenu(QString());
  Edit->setObjectName(QStringLiteral("Edit"));
  Copy1 = AddItem(Edit, "Copy1", 6);
  Copy2 = AddItem(Edit, "Copy2", 6);
  ScreenShot = AddItem(Edit, "ScreenShot", 7);

  Language1 = bar->addMenu(QString::fromUtf8(texts::kLanguageMenu));
  Language1->setObjectName(QStringLiteral("Language1"));
  Lang0 = AddItem(Language1, "Lang0", 8);
  Lang0->setText(QString::fromUtf8(texts::kLang0));
  Lang1 = AddItem(Language1, "Lang1", 9);
  Lang1->setText(QString::fromUtf8(texts::kLang1));
  Lang0->setCheckable(true);
  Lang1->setCheckable(true);

  Help = bar->addMenu(QString());
  Help->setObjectName(QStringLiteral("Help"));
  Contents = AddItem(Help, "Contents", 11);
  About = AddItem(Help, "About", 12);

  connect(New, &QAction::triggered, this, &TForm1::NewClick);
  connect(Open, &QAction::triggered, this, &TForm1::Action1Execute);
  connect(Save, &QAction::triggered, this, &TForm1::SaveClick);
  connect(SaveAs, &QAction::triggered, this, &TForm1::SaveAsClick);
  connect(SaveExel, &QAction::triggered, this, &TForm1::SaveExelClick);
  connect(Print, &QAction::triggered, this, &TForm1::PrintClick);
  connect(Exit, &QAction::triggered, this, &TForm1::ExitClick);
  connect(Copy1, &QAction::triggered, this, &TForm1::Copy1Click);
  connect(Copy2, &QAction::triggered, this, &TForm1::Copy2Click);
  connect(ScreenShot, &QAction::triggered, this, &TForm1::ScreenShotClick);
  connect(Lang0, &QAction::triggered, this, &TForm1::Lang0Click);
  connect(Lang1, &QAction::triggered, this, &TForm1::Lang1Click);
  connect(Contents, &QAction::triggered, this, &TForm1::ContentsClick);
  connect(About, &QAction::triggered, this, &TForm1::AboutClick);
}

void TForm1::CreateDialogs() {
  const QStringList archiveFilters{QStringLiteral("RZ-4.7 (*.rz4)"), QStringLiteral("All Files (*.*)")};
  OpenDialog1 = new QFileDialog(this);
  OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
  OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
  OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  OpenDialog1->setFileMode(QFileDialog::ExistingFile);
  OpenDialog1->setNameFilters(archiveFilters);

  SaveDialog2 = new QFileDialog(this);
  SaveDialog2->setObjectName(QStringLiteral("SaveDialog2"));
  SaveDialog2->setOption(QFileDialog::DontUseNativeDialog);
  SaveDialog2->setAcceptMode(QFileDialog::AcceptSave);
  SaveDialog2->setNameFilters(archiveFilters);
  SaveDialog2->setDefaultSuffix(QStringLiteral("rz4"));
  SaveDialog2->selectFile(QStringLiteral("Arhive.rz4"));

  SaveDialog1 = new QFileDialog(this);
  SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
  SaveDialog1->setOption(QFileDialog::DontUseNativeDialog);
  SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
}

void TForm1::LayOut() {
  if (client_ == nullptr) return;
  const int width = client_->width();
  const int height = client_->height();
  Button1->setGeometry(ScaledRect(1, 0, 141, 31));
  // Button3 keeps its distance to the right edge.
  const int button3Right = Scaled(kClientWidth - (716 + 174));
  Button3->setGeometry(width - button3Right - Scaled(174), 0, Scaled(174), Scaled(31));
  // The table follows all four edges with the designed margins.
  const int gridRightMargin = Scaled(kClientWidth - 891);
  const int gridBottomMargin = Scaled(kClientHeight - kStatusHeight - 30 - 467);
  StringGrid1->setGeometry(0, Scaled(30), std::max(0, width - gridRightMargin),
                           std::max(0, height - Scaled(30) - gridBottomMargin));
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  LayOut();
}

void TForm1::SetLang() {
  const int lang = LangIndex;
  Lang1->setChecked(lang != 0);
  Lang0->setChecked(lang == 0);
  UpdateTitle();
  File->setTitle(QText(texts::kFile, lang));
  New->setText(QText(texts::kNew, lang));
  Open->setText(QText(texts::kOpen, lang));
  Save->setText(QText(texts::kSave, lang));
  SaveAs->setText(QText(texts::kSaveAs, lang));
  SaveDialog2->setWindowTitle(QText(texts::kSaveAs, lang));
  SaveExel->setText(QText(texts::kSaveExel, lang));
  SaveDialog1->setWindowTitle(QText(texts::kSaveExel, lang));
  Print->setText(QText(texts::kPrint, lang));
  Exit->setText(QText(texts::kExit, lang));
  Edit->setTitle(QText(texts::kEdit, lang));
  Copy1->setText(QText(texts::kCopyTable, lang));
  Copy2->setText(QText(texts::kCopySelection, lang));
  ScreenShot->setText(QText(texts::kScreenShot, lang));
  Help->setTitle(QText(texts::kHelp, lang));
  Contents->setText(QText(texts::kContents, lang));
  About->setText(QText(texts::kAbout, lang));
  Button1->setText(QText(texts::kReadFromDevice, lang));
  Button3->setText(QText(texts::kMaterialsSetting, lang));
  SetMessageButtonsLang(lang);
  WriteHeadings(grid_, lang);
  Delete->setText(QText(texts::kDelete, lang));
}

void TForm1::UpdateTitle() { setWindowTitle(ToQString(ComposeWindowTitle(document_, LangIndex))); }

QString TForm1::StatusText() const { return statusLabel_->text(); }

void TForm1::SetStatusText(const QString& text) { statusLabel_->setText(text); }

void TForm1::Lang0Click() {
  LangIndex = 0;
  SetLang();
}

void TForm1::Lang1Click() {
  LangIndex = 1;
  SetLang();
}

void TForm1::ContentsClick() { OpenHelpFile(QStringLiteral("RZ47.chm")); }

void TForm1::FormKeyDownF1() { OpenHelpFile(QStringLiteral("RZ60.chm")); }

void TForm1::AboutClick() {
  TAboutBox box(this);
  box.exec();
}

void TForm1::ExitClick() { close(); }

void TForm1::mouseMoveEvent(QMouseEvent* event) {
  // FormMouseMove: over the window's own background the hint is cleared.
  SetStatusText(QString());
  QMainWindow::mouseMoveEvent(event);
}

}  // namespace rz47
