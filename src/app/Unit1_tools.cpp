// TForm1: the screenshot and materials windows.
#include <QPointer>

#include "app/Unit1.h"
#include "tools/Unit5.h"
#include "tools/Unit7.h"

namespace rz47 {
namespace {

// A closed tool window goes once its worker has ended: the worker drives the
// window's controls until then.
template <typename Form>
void ReleaseWhenIdle(Form* form) {
  if (form->JobRunning()) {
    QObject::connect(form, &Form::JobEnded, form, &QObject::deleteLater);
  } else {
    form->deleteLater();
  }
}

}  // namespace

void TForm1::Button3Click() {
  QPointer<TForm7> form = new TForm7(this);
  if (!form->StartRead()) {
    delete form;
    return;
  }
  form->exec();
  if (form != nullptr) ReleaseWhenIdle(form.data());
}

void TForm1::ScreenShotClick() {
  QPointer<TForm5> form = new TForm5(this);
  form->exec();
  if (form != nullptr) ReleaseWhenIdle(form.data());
}

}  // namespace rz47
