#include "tray/frmMenus.h"

namespace pellmark {

frmMenus::frmMenus(forms::Backend& backend) : Form(backend, "frmMenus") {
    mnuSaveList.items.push_back({.name = kDelete, .caption = "Delete"});
}

}  // namespace pellmark
