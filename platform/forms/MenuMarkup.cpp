#include "platform/forms/MenuMarkup.h"

#include <algorithm>
#include <iterator>

#include "platform/TextCompare.h"
#include "platform/Utf8.h"

namespace pellmark::forms {

namespace {

bool IsMarker(char c) noexcept {
    return c == '-' || c == '#' || c == '*';
}

void ApplyMarker(CMyItemData& item, char marker) noexcept {
    if (marker == '-') {
        item.separator = true;
    } else if (marker == '#' || marker == '*') {
        item.bAsMark = true;
        item.bAsCheck = marker == '#';
    }
}

}  // namespace

CMyItemData DecodeCaption(std::string_view caption) {
    CMyItemData item;
    const std::size_t bar = caption.find('|');
    if (bar == std::string_view::npos) {
        if (!caption.empty() && IsMarker(caption.front())) {
            ApplyMarker(item, caption.front());
            caption.remove_prefix(1);
        }
        item.sMenuText = caption;
        return item;
    }
    if (bar > 0) {
        ApplyMarker(item, caption.front());
    }
    const std::string_view rest = caption.substr(bar + 1);
    const std::size_t second = rest.find('|');
    if (second == std::string_view::npos) {
        // "x|text": a help part that never closes; what follows the bar is the text.
        item.sMenuText = rest;
    } else {
        item.sMenuHelp = rest.substr(0, second);
        item.sMenuText = rest.substr(second + 1);
    }
    return item;
}

std::string EncodeCaption(const CMyItemData& item) {
    std::string caption;
    if (item.separator) {
        caption += '-';
    } else if (item.bAsMark) {
        caption += item.bAsCheck ? '#' : '*';
    }
    const std::string& text = item.sMenuText;
    const bool readsAsMarkup = text.find('|') != std::string::npos ||
                               (caption.empty() && !text.empty() && IsMarker(text.front()));
    if (!item.sMenuHelp.empty() || readsAsMarkup) {
        caption += '|';
        caption += item.sMenuHelp;
        caption += '|';
    }
    caption += text;
    return caption;
}

CMyItemDatas::Key CMyItemDatas::NewKey() const noexcept {
    if (items_.empty()) {
        return 1;
    }
    const Key largest = std::prev(items_.end())->first;
    if (largest != UINT32_MAX) {
        return largest + 1;
    }
    Key key = 1;  // the top is taken: the first gap from the bottom
    for (const auto& [used, item] : items_) {
        if (used != key) {
            break;
        }
        ++key;
    }
    return key;
}

CMyItemData& CMyItemDatas::Add(Key key) {
    CMyItemData& item = items_[key];
    item = CMyItemData{};
    return item;
}

CMyItemData* CMyItemDatas::Item(Key key) noexcept {
    const auto found = items_.find(key);
    return found == items_.end() ? nullptr : &found->second;
}

int FindMenuImage(const MenuImages* images, std::string_view text) {
    if (images == nullptr) {
        return -1;
    }
    const std::size_t textUnits = platform::Utf8ToUtf16(text).size();
    const std::size_t count = std::min(images->images.size(), images->tags.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& tag = images->tags[i];
        if (tag.empty()) {
            continue;
        }
        // Characters are counted as Windows counts them, in UTF-16 units.
        const std::size_t n = std::min(textUnits, platform::Utf8ToUtf16(tag).size());
        if (platform::EqualIgnoringCase(platform::Utf8PrefixOfUtf16Units(text, n),
                                        platform::Utf8PrefixOfUtf16Units(tag, n))) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool HasAccessKey(std::string_view text, char16_t typed) {
    const std::u16string units = platform::Utf8ToUtf16(text);
    const std::u16string_view key(&typed, 1);
    for (std::size_t i = 0; i + 1 < units.size(); ++i) {
        if (units[i] != u'&') {
            continue;
        }
        if (units[i + 1] == u'&') {
            ++i;  // "&&" shows one ampersand and marks nothing
            continue;
        }
        return platform::EqualIgnoringCase(platform::Utf16ToUtf8(units.substr(i + 1, 1)),
                                           platform::Utf16ToUtf8(key));
    }
    return false;
}

std::pair<std::string_view, std::string_view> SplitAtTab(std::string_view text) {
    const std::size_t tab = text.find('\t');
    if (tab == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, tab), text.substr(tab + 1)};
}

ItemSize MeasureSeparator(const MenuMetrics& metrics) noexcept {
    return {0, metrics.menuHeight / 2};
}

ItemSize MeasureItem(const MenuMetrics& metrics, int textWidth, int textHeight,
                     bool onMenuBar) noexcept {
    ItemSize size{textWidth, std::max(textHeight, metrics.menuHeight)};
    if (!onMenuBar) {
        const int box = metrics.iconSize + 2;
        size.width += 4 + 1 + box * 2 - (metrics.checkWidth - 1);
        // The picture box is square at least, however low the line.
        size.height = std::max(size.height, box);
    }
    return size;
}

Edges IconBox(const Edges& item, int iconSize) noexcept {
    return {item.left, item.top, item.left + iconSize + 2, item.bottom};
}

Edges TextArea(const Edges& item, int iconSize, bool onMenuBar) noexcept {
    if (onMenuBar) {
        return item;
    }
    const int box = iconSize + 2;
    return {item.left + box + 3, item.top, item.right - box, item.bottom};
}

}  // namespace pellmark::forms
