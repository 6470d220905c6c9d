// A run-time error: what a procedure's error trap reports as "Error: " number, a line
// break and the description.
#pragma once

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

inline constexpr int kInvalidProcedureCall = 5;
inline constexpr int kPathNotFound = 76;

}  // namespace pellmark
