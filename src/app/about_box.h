// TAboutBox: the About window (product, version with build date, copyright, the
// maker's lines and two links). Created, shown modally and destroyed by
// TForm1::AboutClick.
#pragma once

#include <QDialog>

#include "app/about_texts.h"

class QFrame;
class QLabel;
class QPushButton;

namespace rz47 {

// Configured values of the maker.
inline constexpr const char* kSupportWeb = "https://rz47.example.org";
inline constexpr const char* kSupportMail = "support@rz47.example.org";
inline constexpr const char* kPhones = "000-00-00\n000-00-01";

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  // `info` and `buildDate` default to this program's own.
  explicit TAboutBox(QWidget* parent = nullptr, const VersionResource* info = &ProgramVersionResource(),
                     std::string_view buildDate = ProgramBuildDate());

  void LabelEMailClick();
  void LabelWWWClick();

  QFrame* Panel1 = nullptr;
  QLabel* ProgramIcon = nullptr;
  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QLabel* txtCopyright = nullptr;
  QLabel* Comments = nullptr;
  QPushButton* OKButton = nullptr;
  QLabel* LabelEMail = nullptr;
  QLabel* LabelWWW = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate(const VersionResource* info, std::string_view buildDate);
};

// The application title the mail subject carries: the program file's base name.
QString ApplicationTitle();

}  // namespace rz47
