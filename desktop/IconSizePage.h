// The Icon Size page: the size Explorer draws its icons at, with a sample at that size, and
// the size of Explorer's icon cache.
#pragma once

#include <functional>

#include "chrome/PageBox.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace pellmark {

inline constexpr int kIconSizeMin = 2;
inline constexpr int kIconSizeMax = 100;
inline constexpr int kIconSizeStart = 32;

class IconSizePage final : public chrome::PageBox {
  public:
    // `repaintScreen` asks every window on the screen to paint again (none: nothing).
    IconSizePage(forms::Form& form, platform::Registry& registry, platform::Dialogs& dialogs,
                 std::function<void()> repaintScreen);

    void PositionControls();
    // The stored cache size, shown without writing anything back.
    void LoadIconCache();

    forms::Label& lblIconSizeInfo;
    forms::Slider& sldIconSize;
    forms::Label& lblIconSize;
    forms::Label& lblRecommended;
    forms::Image& imgIconPreview;
    forms::Label& lblIconCache;
    forms::TextBox& txtIconCache;
    forms::Label& lblKb;

  private:
    void sldIconSize_Scroll();
    void txtIconCache_Change();
    void PlaceSample(int size);

    platform::Registry& registry_;
    platform::Dialogs& dialogs_;
    std::function<void()> repaintScreen_;
    bool loading_ = false;
};

}  // namespace pellmark
