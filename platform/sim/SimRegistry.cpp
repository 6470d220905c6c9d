#include "platform/sim/SimRegistry.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/TextCompare.h"

namespace pellmark::sim {

using platform::RegistryKey;

namespace {

// Key and value names compare without regard to case, in the order Windows enumerates
// them: by their upper-case form.
struct NameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        return platform::LessIgnoringCase(a, b);
    }
};

struct Value {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

bool IsRoot(RegistryKey key) noexcept {
    return key >= platform::PredefinedKey(platform::kHkeyClassesRoot) &&
           key <= platform::PredefinedKey(platform::kHkeyDynData);
}

}  // namespace

struct SimRegistry::Node {
    std::string name;
    std::map<std::string, std::shared_ptr<Node>, NameLess> subKeys;
    std::map<std::string, Value, NameLess> values;
    bool deleted = false;
};

SimRegistry::SimRegistry() {
    // HKEY_DYN_DATA is kept as Wine keeps it: an empty root that can be written.
    for (const std::uint32_t root :
         {platform::kHkeyClassesRoot, platform::kHkeyCurrentUser, platform::kHkeyLocalMachine,
          platform::kHkeyUsers, platform::kHkeyCurrentConfig, platform::kHkeyDynData}) {
        roots_[platform::PredefinedKey(root)] = std::make_shared<Node>();
    }
}

SimRegistry::~SimRegistry() = default;

std::uint32_t SimRegistry::Resolve(RegistryKey key, std::uint32_t access,
                                   std::shared_ptr<Node>& node) const {
    if (const auto root = roots_.find(key); root != roots_.end()) {
        node = root->second;
        return 0;
    }
    const auto found = handles_.find(key);
    if (found == handles_.end()) {
        return platform::kErrorInvalidHandle;
    }
    if ((found->second.access & access) != access) {
        return platform::kErrorAccessDenied;
    }
    if (found->second.node->deleted) {
        return platform::kErrorKeyDeleted;
    }
    node = found->second.node;
    return 0;
}

std::uint32_t SimRegistry::Walk(RegistryKey parent, const std::string& path, bool create,
                                std::shared_ptr<Node>& node) {
    // Opening or creating under a key needs no right on that key.
    std::shared_ptr<Node> at;
    if (const std::uint32_t status = Resolve(parent, 0, at); status != 0) {
        return status;
    }
    if (!path.empty() && path.front() == '\\') {
        return platform::kErrorBadPathname;
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty()) {  // doubled or trailing backslashes are passed over
            continue;
        }
        auto child = at->subKeys.find(part);
        if (child == at->subKeys.end()) {
            if (!create) {
                return platform::kErrorFileNotFound;
            }
            auto made = std::make_shared<Node>();
            made->name = part;
            child = at->subKeys.emplace(part, std::move(made)).first;
        }
        at = child->second;
    }
    node = std::move(at);
    return 0;
}

RegistryKey SimRegistry::AddHandle(std::shared_ptr<Node> node, std::uint32_t access) {
    const RegistryKey handle = nextHandle_;
    nextHandle_ += 4;  // never reused, so a stale handle stays invalid
    handles_[handle] = {std::move(node), access};
    return handle;
}

std::uint32_t SimRegistry::OpenKey(RegistryKey parent, const std::string& path,
                                   std::uint32_t access, RegistryKey& opened) {
    return OpenOrCreate(parent, path, false, access, opened);
}

std::uint32_t SimRegistry::CreateKey(RegistryKey parent, const std::string& path,
                                     std::uint32_t access, RegistryKey& opened) {
    return OpenOrCreate(parent, path, true, access, opened);
}

std::uint32_t SimRegistry::OpenOrCreate(RegistryKey parent, const std::string& path, bool create,
                                        std::uint32_t access, RegistryKey& opened) {
    std::shared_ptr<Node> node;
    if (const std::uint32_t status = Walk(parent, path, create, node); status != 0) {
        return status;
    }
    opened = path.empty() && IsRoot(parent) ? parent : AddHandle(std::move(node), access);
    return 0;
}

std::uint32_t SimRegistry::CloseKey(RegistryKey key) {
    if (roots_.contains(key)) {
        return 0;
    }
    return handles_.erase(key) == 1 ? 0 : platform::kErrorInvalidHandle;
}

std::uint32_t SimRegistry::DeleteKey(RegistryKey parent, const std::string& subKey) {
    // An empty name would mean the key itself, which is opened for that without the right
    // to delete (Wine answers so).
    if (subKey.empty()) {
        return platform::kErrorAccessDenied;
    }
    std::shared_ptr<Node> node;
    if (const std::uint32_t status = Walk(parent, subKey, false, node); status != 0) {
        return status;
    }
    if (!node->subKeys.empty()) {
        return platform::kErrorAccessDenied;
    }
    // Find the key's parent again to unlink it: the last part of the path names it.
    std::string parentPath = subKey;
    while (!parentPath.empty() && parentPath.back() == '\\') {
        parentPath.pop_back();
    }
    const std::size_t slash = parentPath.find_last_of('\\');
    const std::string name = slash == std::string::npos ? parentPath : parentPath.substr(slash + 1);
    parentPath.resize(slash == std::string::npos ? 0 : slash);
    std::shared_ptr<Node> owner;
    if (const std::uint32_t status = Walk(parent, parentPath, false, owner); status != 0) {
        return status;
    }
    owner->subKeys.erase(name);
    node->deleted = true;
    return 0;
}

std::uint32_t SimRegistry::DeleteValue(RegistryKey key, const std::string& name) {
    std::shared_ptr<Node> node;
    if (const std::uint32_t status = Resolve(key, platform::kKeySetValue, node); status != 0) {
        return status;
    }
    return node->values.erase(name) == 1 ? 0 : platform::kErrorFileNotFound;
}

std::uint32_t SimRegistry::QueryKeyInfo(RegistryKey key, platform::RegistryKeyInfo& info) {
    // Windows documents KEY_QUERY_VALUE for this; Wine does not ask for it. The stricter
    // rule catches a caller that would fail on Windows.
    std::shared_ptr<Node> node;
    if (const std::uint32_t status = Resolve(key, platform::kKeyQueryValue, node); status != 0) {
        return status;
    }
    info.subKeyCount = static_cast<std::uint32_t>(node->subKeys.size());
    info.longestSubKeyName = 0;
    for (const auto& [name, child] : node->subKeys) {
        info.longestSubKeyName =
            std::max(info.longestSubKeyName, static_cast<std::uint32_t>(name.size()));
    }
    return 0;
}

std::uint32_t SimRegistry::EnumKey(RegistryKey key, std::uint32_t index, std::uint32_t capacity,
                                   std::string& name) {
    std::shared_ptr<Node> node;
    if (const std::uint32_t status = Resolve(key, platform::kKeyEnumerateSubKeys, node);
        status != 0) {
        return status;
    }
    if (index >= node->subKeys.size()) {
        return platform::kErrorNoMoreItems;
    }
    const std::string& found = std::next(node->subKeys.begin(), index)->second->name;
    if (found.size() + 1 > capacity) {
        return platform::kErrorMoreData;
    }
    name = found;
    return 0;
}

std::uint32_t SimRegistry::QueryValue(RegistryKey key, const std::string& name, std::uint32_t& type,
                                      std::span<std::uint8_t> buffer, std::uint32_t& size) {
    std::shared_ptr<Node> node;
    if (const std::uint32_t status = Resolve(key, platform::kKeyQueryValue, node); status != 0) {
        return status;
    }
    const auto found = node->values.find(name);
    if (found == node->values.end()) {
        return platform::kErrorFileNotFound;
    }
    const Value& value = found->second;
    type = value.type;
    size = static_cast<std::uint32_t>(value.data.size());
    if (value.data.size() > buffer.size()) {
        return platform::kErrorMoreData;
    }
    std::copy(value.data.begin(), value.data.end(), buffer.begin());
    return 0;
}

std::uint32_t SimRegistry::SetValue(RegistryKey key, const std::string& name, std::uint32_t type,
                                    std::span<const std::uint8_t> data) {
    std::shared_ptr<Node> node;
    if (const std::uint32_t status = Resolve(key, platform::kKeySetValue, node); status != 0) {
        return status;
    }
    node->values.insert_or_assign(name, Value{type, {data.begin(), data.end()}});
    return 0;
}

}  // namespace pellmark::sim
