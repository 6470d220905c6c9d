// The hidden form that owns the program's pop-up menus.
#pragma once

#include "platform/forms/Form.h"

namespace pellmark {

class frmMenus final : public forms::Form {
  public:
    explicit frmMenus(forms::Backend& backend);

    // The pattern list's menu; its Delete item is wired by the main window.
    forms::MenuItem& mnuSaveList;
    [[nodiscard]] forms::MenuItem& mnuSaveList_Delete() { return *mnuSaveList.Find(kDelete); }

  private:
    static constexpr const char* kDelete = "mnuSaveList_Delete";
};

}  // namespace pellmark
