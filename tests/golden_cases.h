// Cases kept in a text file under tests/data, the expected output beside
// the input: "=== name", the input's lines, "---", the expected lines.
// Lines before the first case are the file's own notes.
#pragma once

#include "tests/read_text.h"

#include <sstream>
#include <string>
#include <vector>

namespace wayloom::testing {

struct golden_case {
    std::string name, input, expected;
};

inline std::vector<golden_case> golden_cases(const std::string& file)
{
    std::vector<golden_case> cases;
    std::istringstream in(read_text(file));
    bool input = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("=== ")) {
            cases.push_back({line.substr(4), "", ""});
            input = true;
        } else if (input && line == "---") {
            input = false;
        } else if (!cases.empty()) {
            (input ? cases.back().input : cases.back().expected) += line + "\n";
        }
    }
    return cases;
}

} // namespace wayloom::testing
