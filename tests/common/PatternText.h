// Pattern files written by hand for the tests, record by record.
#pragma once

#include <string>
#include <vector>

namespace pellmark::testcases {

struct Record {
    std::string caption;
    std::string x;
    std::string y;
    std::string flag = "False";
};

inline std::string PatternText(int width, int height, const std::vector<Record>& records,
                               const std::string& header = "Pellmark | version | 2.14.2") {
    std::string text = header + "\r\n" + std::to_string(records.size()) + "\r\n" +
                       std::to_string(width) + "\r\n" + std::to_string(height) + "\r\n";
    for (const Record& r : records) {
        text += r.caption + "\r\n" + r.x + "\r\n" + r.y + "\r\n" + r.flag + "\r\n";
    }
    return text;
}

}  // namespace pellmark::testcases
