// The shared registry, settings-store and INI cases against the in-memory backends.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/sim/SimFiles.h"
#include "platform/sim/SimRegistry.h"
#include "tests/common/ProfileStringCases.h"
#include "tests/common/RegistryCases.h"

namespace pellmark::testcases {
namespace {

struct SimRegistryBackend {
    sim::SimRegistry registry;
    std::string scratch = "Software\\PellmarkTests\\Scratch";
    [[nodiscard]] std::optional<int> OpenKeys() const { return registry.OpenKeyCount(); }
};

struct SimFilesBackend {
    sim::SimFiles files;
    std::string Put(const std::string& name, const std::string& content) {
        const std::string path = "C:\\Pellmark\\Languages\\" + name;
        files.files[path] = content;
        return path;
    }
    std::string Missing() { return "C:\\Pellmark\\Languages\\Missing.txt"; }
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Sim, RegistryCases, SimRegistryBackend);
INSTANTIATE_TYPED_TEST_SUITE_P(Sim, ProfileStringCases, SimFilesBackend);

}  // namespace pellmark::testcases
