#include "toolkit/TDialogs.h"

namespace toolkit {

TCommonDialog::TCommonDialog(TComponent* owner) : TComponent(owner) {}

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner) {}

bool TOpenDialog::Execute() { return false; }

TOpenPictureDialog::TOpenPictureDialog(TComponent* owner) : TOpenDialog(owner) {}

TSaveDialog::TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}

} // namespace toolkit
