#include "tray/frmMenus.h"

namespace pellmark {

frmMenus::frmMenus(forms::Backend& backend)
    : Form(backend, "frmMenus"), mnuSaveList(AddMenu("mnuSaveList")) {
    mnuSaveList.Add(kDelete, -1, "Delete");
}

}  // namespace pellmark
