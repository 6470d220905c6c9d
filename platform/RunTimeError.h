// A run-time error: what a procedure's error trap reports as "Error: " number, a line
// break and the description.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace pellmark {

class RunTimeError : public std::runtime_error {
  public:
    RunTimeError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    [[nodiscard]] int Number() const noexcept { return number_; }

  private:
    int number_;
};

// A picture that this system can read only whole and that has more pixels than one picture
// may take: refused before any of it is read.
class PictureTooLarge : public RunTimeError {
  public:
    explicit PictureTooLarge(std::uint64_t mostPixels)
        : RunTimeError(7, "Out of memory"), mostPixels_(mostPixels) {}
    [[nodiscard]] std::uint64_t MostPixels() const noexcept { return mostPixels_; }

  private:
    std::uint64_t mostPixels_;
};

inline constexpr int kInvalidProcedureCall = 5;
inline constexpr int kPathNotFound = 76;

}  // namespace pellmark
