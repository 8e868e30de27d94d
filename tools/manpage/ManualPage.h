#pragma once

#include <string>

namespace tools {

// The manual page skyrings(6) in roff, written from the option parser's list and the command table,
// so the page shows exactly the options `--help` prints and the keys the game answers.
class ManualPage {
  public:
    // `date`: the release date for the page's header ("2025-06-01").
    static std::string render(const std::string& date);
};

}  // namespace tools
